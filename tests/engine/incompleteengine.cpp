// Exports all Narrex_ functions but Narrex_Close.
#include <cstdint>

#define EXPORT extern "C" __attribute__((visibility("default")))

EXPORT int32_t Narrex_Initialize(void *, void *, int32_t, int32_t, int32_t, int32_t, int32_t)
{
    return 10;
}
EXPORT int32_t Narrex_GetVoiceDeviceNum()
{
    return 0;
}
EXPORT int32_t Narrex_Speak(
    const char *, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, const char *)
{
    return 10;
}
EXPORT int32_t Narrex_GetLocationInfo()
{
    return 0;
}
EXPORT int32_t Narrex_PauseORContinue()
{
    return 10;
}
EXPORT int32_t Narrex_Stop()
{
    return 10;
}
EXPORT int32_t Narrex_SetDialog(int32_t, const char *)
{
    return 10;
}
EXPORT int32_t Narrex_SpeakToWave(
    const char *, const char *, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, const char *)
{
    return 10;
}

#pragma once

#include <QByteArray>
#include <QString>

// The engine's own settings: speaking rate, pitch and volume, and the
// espeak-ng voice (language plus optional variant) behind each of its three
// voices. Kept in an INI file of the engine's own ("Sonarel/Narrex.ini" in
// the user's configuration folder).

enum class NarrexVoice { FemaleChinese, MaleChinese, MaleEnglish };

struct VoiceChoice {
    QString voice;   // espeak-ng voice, "cmn"
    QString variant; // espeak-ng variant, "f3", or empty
    bool operator==(const VoiceChoice &) const = default;
};

struct VoiceSettings {
    int rateWpm = 165;
    int pitch = 50;
    int volume = 100;
    VoiceChoice femaleChinese{QStringLiteral("cmn"), QStringLiteral("f2")};
    VoiceChoice maleChinese{QStringLiteral("cmn"), QString()};
    VoiceChoice maleEnglish{QStringLiteral("en-us"), QString()};

    static constexpr int MinRate = 80;
    static constexpr int MaxRate = 450;

    const VoiceChoice &choice(NarrexVoice v) const;
    VoiceChoice &choice(NarrexVoice v);
    // "cmn+f3" for espeak_SetVoiceByName.
    QByteArray espeakName(NarrexVoice v) const;

    static VoiceSettings load();
    bool save() const;

    bool operator==(const VoiceSettings &) const = default;
};

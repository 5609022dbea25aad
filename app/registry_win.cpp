// The native registry: keys under HKEY_LOCAL_MACHINE, values as REG_DWORD.

#include "registry.h"

#include <windows.h>

namespace {

class WinRegistry final : public Registry
{
public:
    ~WinRegistry() override { closeKey(); }

    bool keyExists(const QString &key) override
    {
        HKEY h = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide(key), 0, KEY_READ, &h) != ERROR_SUCCESS)
            return false;
        RegCloseKey(h);
        return true;
    }

    bool openKey(const QString &key) override
    {
        closeKey();
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide(key), 0, KEY_READ | KEY_WRITE, &m_key)
            == ERROR_SUCCESS)
            return true;
        // Without the right to write (not elevated), reading still works.
        return RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide(key), 0, KEY_READ, &m_key) == ERROR_SUCCESS;
    }

    bool createKey(const QString &key) override
    {
        closeKey();
        return RegCreateKeyExW(HKEY_LOCAL_MACHINE, wide(key), 0, nullptr, REG_OPTION_NON_VOLATILE,
                   KEY_READ | KEY_WRITE, nullptr, &m_key, nullptr)
            == ERROR_SUCCESS;
    }

    void closeKey() override
    {
        if (m_key)
            RegCloseKey(m_key);
        m_key = nullptr;
    }

    std::optional<int> readInteger(const QString &name) override
    {
        if (!m_key)
            return std::nullopt;
        DWORD type = 0;
        DWORD value = 0;
        DWORD size = sizeof value;
        if (RegQueryValueExW(
                m_key, wide(name), nullptr, &type, reinterpret_cast<BYTE *>(&value), &size)
                != ERROR_SUCCESS
            || type != REG_DWORD || size != sizeof value)
            return std::nullopt;
        return int(value);
    }

    bool writeInteger(const QString &name, int value) override
    {
        if (!m_key)
            return false;
        const DWORD v = DWORD(value);
        return RegSetValueExW(
                   m_key, wide(name), 0, REG_DWORD, reinterpret_cast<const BYTE *>(&v), sizeof v)
            == ERROR_SUCCESS;
    }

private:
    static const wchar_t *wide(const QString &s)
    {
        return reinterpret_cast<const wchar_t *>(s.utf16());
    }

    HKEY m_key = nullptr;
};

} // namespace

std::unique_ptr<Registry> Registry::create(const QString &)
{
    return std::make_unique<WinRegistry>();
}

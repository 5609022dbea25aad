#pragma once

// The program's three settings live in one key of the system registry on
// Windows ("Software\Parlix" under HKEY_LOCAL_MACHINE). Registry is the
// small layer the main window talks to, with the registry's own semantics:
// a key exists or not, is opened without being created or is created, and
// each read can fail on its own. Elsewhere a key is an INI file in the
// user's configuration folder.

#include <QString>

#include <memory>
#include <optional>

class Registry
{
public:
    virtual ~Registry() = default;

    virtual bool keyExists(const QString &key) = 0;
    // Opens an existing key without creating it.
    virtual bool openKey(const QString &key) = 0;
    // Creates the key (and opens it); false when it cannot be created.
    virtual bool createKey(const QString &key) = 0;
    virtual void closeKey() = 0;

    // Reads fail (nullopt) for a missing value, one of another type, or no open key.
    virtual std::optional<int> readInteger(const QString &name) = 0;
    // A truth value is an integer: 0 is false, anything else true.
    std::optional<bool> readBool(const QString &name);
    virtual bool writeInteger(const QString &name, int value) = 0;
    bool writeBool(const QString &name, bool value) { return writeInteger(name, value ? 1 : 0); }

    // The native registry on Windows, INI files under folder elsewhere (the
    // user's configuration folder when folder is empty).
    static std::unique_ptr<Registry> create(const QString &folder = QString());
};

// Keys as INI files: "Software\Parlix" is <folder>/Software/Parlix.ini.
class IniRegistry final : public Registry
{
public:
    explicit IniRegistry(const QString &folder);

    bool keyExists(const QString &key) override;
    bool openKey(const QString &key) override;
    bool createKey(const QString &key) override;
    void closeKey() override;
    std::optional<int> readInteger(const QString &name) override;
    bool writeInteger(const QString &name, int value) override;

    QString fileFor(const QString &key) const;

private:
    QString m_folder;
    QString m_openFile;
};

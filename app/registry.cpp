#include "registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

std::optional<bool> Registry::readBool(const QString &name)
{
    const std::optional<int> v = readInteger(name);
    if (!v)
        return std::nullopt;
    return *v != 0;
}

IniRegistry::IniRegistry(const QString &folder)
    : m_folder(folder)
{
}

QString IniRegistry::fileFor(const QString &key) const
{
    QString path = key;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir(m_folder).filePath(path + QStringLiteral(".ini"));
}

bool IniRegistry::keyExists(const QString &key)
{
    return QFileInfo(fileFor(key)).isFile();
}

bool IniRegistry::openKey(const QString &key)
{
    if (!keyExists(key))
        return false;
    m_openFile = fileFor(key);
    return true;
}

bool IniRegistry::createKey(const QString &key)
{
    const QString file = fileFor(key);
    if (!QFileInfo(file).isFile()) {
        if (!QDir().mkpath(QFileInfo(file).absolutePath()))
            return false;
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly))
            return false;
    }
    m_openFile = file;
    return true;
}

void IniRegistry::closeKey()
{
    m_openFile.clear();
}

std::optional<int> IniRegistry::readInteger(const QString &name)
{
    if (m_openFile.isEmpty())
        return std::nullopt;
    QSettings ini(m_openFile, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        return std::nullopt;
    const QVariant v = ini.value(name);
    if (!v.isValid())
        return std::nullopt;
    bool ok = false;
    const int value = v.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

bool IniRegistry::writeInteger(const QString &name, int value)
{
    if (m_openFile.isEmpty())
        return false;
    QSettings ini(m_openFile, QSettings::IniFormat);
    ini.setValue(name, value);
    ini.sync();
    return ini.status() == QSettings::NoError;
}

#ifndef Q_OS_WIN
std::unique_ptr<Registry> Registry::create(const QString &folder)
{
    const QString base = folder.isEmpty()
        ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
            + QStringLiteral("/Parlix/registry")
        : folder;
    return std::make_unique<IniRegistry>(base);
}
#endif

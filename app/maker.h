#pragma once

// Who makes the program, as its windows, links and help name it.

#include <QString>

namespace Maker {
inline const QString Name = QStringLiteral("晨语软件工作室");
inline const QString Notice = QStringLiteral("(C) 2004-2026 晨语软件");
inline const QString SupportMail = QStringLiteral("support@parlix.example");
inline const QString WebAddress = QStringLiteral("www.parlix.example");
// The version comes from the build (the project's version in CMakeLists.txt).
inline const QString Version = QStringLiteral(PARLIX_VERSION);
inline const QString ProductVersion = QStringLiteral("Parlix V") + Version;
} // namespace Maker

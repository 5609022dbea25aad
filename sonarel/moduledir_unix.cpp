#include "moduledir.h"

#include <QFileInfo>

#include <dlfcn.h>

QString ModuleDir::ofThisCode()
{
    Dl_info info {};
    if (!dladdr(reinterpret_cast<const void *>(&ModuleDir::ofThisCode), &info) || !info.dli_fname)
        return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).canonicalPath();
}

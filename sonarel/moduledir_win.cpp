#include "moduledir.h"

#include <QFileInfo>

#include <windows.h>

QString ModuleDir::ofThisCode()
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(&ModuleDir::ofThisCode), &module))
        return {};
    wchar_t path[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(module, path, DWORD(std::size(path)));
    if (n == 0 || n >= std::size(path))
        return {};
    return QFileInfo(QString::fromWCharArray(path, int(n))).canonicalPath();
}

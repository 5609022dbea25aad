#include "engineerrors.h"

#include "narrex.h"

namespace {

struct Meaning {
    int code;
    const char *user;
    const char *console;
};

constexpr Meaning Meanings[] = {
    {NARREX_ERR_NOTHING_TO_SPEAK, "没有可以朗读的文字。", "the text has nothing to speak"},
    {NARREX_ERR_FILE, "不能写入这个文件，请检查文件夹和磁盘空间。",
        "the WAV file could not be written (folder missing, not writable, or disk full)"},
    {NARREX_ERR_INVALID_ARGUMENT, "文件名不能使用。", "the file name cannot be used"},
    {NARREX_ERR_SYNTHESIS, "语音引擎出错。", "the synthesiser failed"},
};

const Meaning *find(int code)
{
    for (const Meaning &m : Meanings) {
        if (m.code == code)
            return &m;
    }
    return nullptr;
}

} // namespace

QString EngineErrors::forUser(int code)
{
    const Meaning *m = find(code);
    return m ? QString::fromUtf8(m->user) : QString();
}

QString EngineErrors::forConsole(int code)
{
    const Meaning *m = find(code);
    return m ? QString::fromUtf8(m->console) : QStringLiteral("the engine gave error %1").arg(code);
}

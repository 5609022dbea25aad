// libFuzzer target for the RTF reader: any input must end cleanly, in time
// linear in its size. Built with clang only (see CMakeLists.txt).

#include "rtfreader.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "rtfreader-fuzz";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Most inputs should get past the "{\rtf" check to reach the parser.
    QByteArray input
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!RtfReader::isRtf(input))
        input.prepend("{\\rtf1 ");
    QTextDocument document;
    const RtfReader::Result result = RtfReader::read(input, &document);
    if (!result.ok)
        __builtin_trap(); // it starts with {\rtf: it must be read
    document.toPlainText();
    return 0;
}

#include "documentfile.h"

#include "rtfreader.h"
#include "rtfwriter.h"
#include "textencoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextDocument>

namespace {

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

} // namespace

bool DocumentFile::load(
    const QString &path, QTextDocument *document, QString *error, QString *warning)
{
    QString notes;
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (QFileInfo(path).isDir())
        return fail(error, QStringLiteral("“%1”是一个文件夹，不能打开。").arg(shown));
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("无法打开文件“%1”：%2").arg(shown, file.errorString()));
    if (file.size() > MaxFileSize)
        return fail(error,
            QStringLiteral("文件“%1”太大（%2 MB），不能打开。")
                .arg(shown)
                .arg(file.size() / (1024 * 1024)));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(error, QStringLiteral("无法读取文件“%1”：%2").arg(shown, file.errorString()));

    if (RtfReader::isRtf(bytes)) {
        const RtfReader::Result read = RtfReader::read(bytes, document);
        if (!read.ok)
            return fail(error, QStringLiteral("无法读取文件“%1”：%2").arg(shown, read.message));
        if (read.partial)
            notes = QStringLiteral("文件“%1”有损坏（%2），只读出了其中的一部分。")
                        .arg(shown, read.message);
        if (read.droppedPictures > 0) {
            const QString dropped = QStringLiteral("文件“%1”中有 %2 个图片或对象（WMF、EMF "
                                                   "图片或嵌入的对象）不能显示，保存时不会保留。")
                                        .arg(shown)
                                        .arg(read.droppedPictures);
            notes = notes.isEmpty() ? dropped : notes + u'\n' + dropped;
        }
    } else {
        const bool undo = document->isUndoRedoEnabled();
        document->setUndoRedoEnabled(false);
        // A NUL would end the text for the editor and the engine: a blank,
        // as the converter makes it.
        QString text = TextEncoding::decode(bytes).text;
        text.replace(QChar(u'\0'), QChar(u' '));
        document->setPlainText(text);
        document->setUndoRedoEnabled(undo);
        document->setModified(false);
    }
    if (warning)
        *warning = notes;
    return true;
}

bool DocumentFile::saveRtf(const QTextDocument &document, const QString &path, QString *error)
{
    const QString shown = QDir::toNativeSeparators(path);
    if (QFileInfo(path).isDir())
        return fail(error, QStringLiteral("“%1”是一个文件夹，不能保存为文件。").arg(shown));
    const QByteArray rtf = RtfWriter::write(document);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, QStringLiteral("无法保存文件“%1”：%2").arg(shown, file.errorString()));
    if (file.write(rtf) != rtf.size() || !file.commit()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(error, QStringLiteral("无法保存文件“%1”：%2").arg(shown, why));
    }
    return true;
}

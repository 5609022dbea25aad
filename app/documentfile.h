#pragma once

// The editor's documents on disk. A file that starts with "{\rtf" is RTF and
// keeps its formatting; anything else is plain text, whose encoding is
// detected (a byte-order mark, else valid UTF-8 with multi-byte sequences,
// else GBK). Documents are always saved as RTF, under a temporary name that
// replaces the target only once it is complete, so a failed save leaves the
// old file whole.

#include <QString>

class QTextDocument;

namespace DocumentFile {

// Files larger than this are not opened: the editor is not the place for them.
constexpr qint64 MaxFileSize = 256LL * 1024 * 1024;

struct LoadResult {
    bool ok = false;
    QString error; // why it could not be opened, when !ok
    QString warning; // what was dropped from a broken RTF file, when ok
};

// Reads path into document (replacing its content). On failure document is
// left as it was. Safe to call on a worker thread with a document of that
// thread.
LoadResult load(const QString &path, QTextDocument *document);

struct SaveResult {
    bool ok = false;
    QString error;
};

SaveResult saveRtf(const QTextDocument &document, const QString &path);

} // namespace DocumentFile

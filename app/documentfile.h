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

// Reads path into document (replacing its content). False, with the reason
// in *error, when it cannot be opened; document is then left as it was.
// *warning tells what was dropped from a broken RTF file (empty when
// nothing was). Safe to call on a worker thread with a document of that
// thread.
bool load(const QString &path, QTextDocument *document, QString *error, QString *warning = nullptr);

// Saves document as RTF; false, with the reason in *error, when it cannot,
// and the old file is then whole.
bool saveRtf(const QTextDocument &document, const QString &path, QString *error);

} // namespace DocumentFile

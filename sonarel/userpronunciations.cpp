#include "userpronunciations.h"

#include "hanreader.h"
#include "pinyin.h"
#include "pinyindata.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSettings>
#include <QStringDecoder>

Q_DECLARE_LOGGING_CATEGORY(lcPinyinData)

QString UserPronunciations::defaultPath()
{
    // Beside the engine's settings file.
    const QSettings ini(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Sonarel"),
        QStringLiteral("Narrex"));
    return QFileInfo(ini.fileName()).path() + QStringLiteral("/Pronunciations.txt");
}

void UserPronunciations::parse(QStringView text, const PinyinData &data)
{
    m_words.clear();
    m_firstChars.clear();
    m_maxLength = 0;
    m_problems.clear();
    static const QRegularExpression separators(QStringLiteral("[\\s'’=]+"));
    int lineNo = 0;
    for (QStringView line : text.split(u'\n')) {
        ++lineNo;
        if (line.startsWith(QChar(0xFEFF)))
            line = line.sliced(1);
        if (const qsizetype hash = line.indexOf(u'#'); hash >= 0)
            line = line.first(hash);
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        const QList<QStringView> parts = line.split(separators, Qt::SkipEmptyParts);
        const QStringView word = parts.first();
        const auto problem = [&](const QString &why) { m_problems.append({lineNo, why}); };
        if (word.size() > 32) {
            problem(QStringLiteral("词语太长（最多 32 个字）"));
            continue;
        }
        QString simple;
        bool han = true;
        for (QChar c : word) {
            han = han && HanReader::isHan(c.unicode());
            simple.append(QChar(data.simplified(c.unicode())));
        }
        if (!han) {
            problem(QStringLiteral("“%1”不全是汉字").arg(word));
            continue;
        }
        std::vector<uint16_t> syllables;
        QString bad;
        for (qsizetype i = 1; i < parts.size(); ++i) {
            const QByteArray s = Pinyin::numbered(parts[i]);
            const uint16_t id = s.isEmpty() ? PinyinData::NoSyllable : data.findSyllable(s);
            if (id == PinyinData::NoSyllable) {
                bad = parts[i].toString();
                break;
            }
            syllables.push_back(id);
        }
        if (!bad.isEmpty()) {
            problem(QStringLiteral("“%1”不是拼音").arg(bad));
            continue;
        }
        if (qsizetype(syllables.size()) != word.size()) {
            problem(QStringLiteral("“%1”有 %2 个字，却有 %3 个拼音")
                        .arg(word)
                        .arg(word.size())
                        .arg(syllables.size()));
            continue;
        }
        m_firstChars.insert(simple.at(0).unicode(), true);
        m_maxLength = std::max(m_maxLength, int(simple.size()));
        m_words.insert(simple, std::move(syllables));
    }
}

bool UserPronunciations::load(const QString &path, const PinyinData &data, QString *error)
{
    QFile file(path);
    const QFileInfo info(path);
    m_loadedPath = path;
    m_loadedTime = info.lastModified();
    m_loadedSize = info.exists() ? info.size() : -1;
    if (!info.exists()) {
        parse(QStringView(), data);
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        parse(QStringView(), data);
        if (error)
            *error = file.errorString();
        return false;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(file.readAll());
    parse(text, data);
    for (const Problem &p : std::as_const(m_problems))
        qCWarning(lcPinyinData).noquote() << path << "line" << p.line << "skipped:" << p.reason;
    return true;
}

bool UserPronunciations::isCurrent(const QString &path) const
{
    const QFileInfo info(path);
    const qint64 size = info.exists() ? info.size() : -1;
    return path == m_loadedPath && size == m_loadedSize && info.lastModified() == m_loadedTime;
}

const std::vector<uint16_t> *UserPronunciations::find(QStringView word) const
{
    const auto it = m_words.constFind(word.toString());
    return it == m_words.cend() ? nullptr : &it.value();
}

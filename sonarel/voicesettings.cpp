#include "voicesettings.h"

#include <QSettings>

#include <algorithm>

namespace {

QSettings openSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Sonarel"),
        QStringLiteral("Narrex"));
}

const char *groupName(NarrexVoice v)
{
    switch (v) {
    case NarrexVoice::FemaleChinese:
        return "FemaleChinese";
    case NarrexVoice::MaleChinese:
        return "MaleChinese";
    case NarrexVoice::MaleEnglish:
        return "MaleEnglish";
    }
    return "FemaleChinese";
}

constexpr NarrexVoice AllVoices[]
    = {NarrexVoice::FemaleChinese, NarrexVoice::MaleChinese, NarrexVoice::MaleEnglish};

// espeak-ng names are short ASCII words; anything else in the file is ignored.
bool plausibleName(const QString &s)
{
    return s.size() <= 40 && std::all_of(s.begin(), s.end(), [](QChar c) {
        return c.isLetterOrNumber() || c == u'-' || c == u'_';
    }) && (s.isEmpty() || s.at(0).unicode() < 128);
}

} // namespace

const VoiceChoice &VoiceSettings::choice(NarrexVoice v) const
{
    switch (v) {
    case NarrexVoice::FemaleChinese:
        return femaleChinese;
    case NarrexVoice::MaleChinese:
        return maleChinese;
    case NarrexVoice::MaleEnglish:
        return maleEnglish;
    }
    return femaleChinese;
}

VoiceChoice &VoiceSettings::choice(NarrexVoice v)
{
    return const_cast<VoiceChoice &>(std::as_const(*this).choice(v));
}

QByteArray VoiceSettings::espeakName(NarrexVoice v) const
{
    const VoiceChoice &c = choice(v);
    QByteArray name = c.voice.toLatin1();
    if (!c.variant.isEmpty())
        name += '+' + c.variant.toLatin1();
    return name;
}

QByteArray VoiceSettings::englishName(NarrexVoice v) const
{
    if (v == NarrexVoice::MaleEnglish)
        return espeakName(v);
    QByteArray name = maleEnglish.voice.toLatin1();
    if (!choice(v).variant.isEmpty())
        name += '+' + choice(v).variant.toLatin1();
    return name;
}

QByteArray VoiceSettings::mandarinName(NarrexVoice v) const
{
    return espeakName(v == NarrexVoice::MaleEnglish ? NarrexVoice::MaleChinese : v);
}

bool VoiceSettings::readsChinese(const QString &voice)
{
    return voice.compare(PinyinVoice, Qt::CaseInsensitive) == 0;
}

bool VoiceSettings::readsEnglish(const QString &voice)
{
    return voice.compare(QLatin1String("en"), Qt::CaseInsensitive) == 0
        || voice.startsWith(QLatin1String("en-"), Qt::CaseInsensitive);
}

VoiceSettings VoiceSettings::load(bool *migrated)
{
    VoiceSettings s;
    if (migrated)
        *migrated = false;
    QSettings ini = openSettings();
    bool ok = false;
    if (const int v = ini.value(QStringLiteral("Rate")).toInt(&ok); ok)
        s.rateWpm = std::clamp(v, MinRate, MaxRate);
    if (const int v = ini.value(QStringLiteral("Pitch")).toInt(&ok); ok)
        s.pitch = std::clamp(v, 0, 100);
    if (const int v = ini.value(QStringLiteral("Volume")).toInt(&ok); ok)
        s.volume = std::clamp(v, 0, 200);
    for (NarrexVoice v : AllVoices) {
        ini.beginGroup(QLatin1String(groupName(v)));
        const QString voice = ini.value(QStringLiteral("Voice")).toString();
        const QString variant
            = ini.value(QStringLiteral("Variant"), s.choice(v).variant).toString();
        if (!voice.isEmpty() && plausibleName(voice) && plausibleName(variant)) {
            const bool chinese = v != NarrexVoice::MaleEnglish;
            if (chinese && !readsChinese(voice)) {
                s.choice(v) = {PinyinVoice, variant};
                if (migrated)
                    *migrated = true;
            } else {
                s.choice(v) = {voice, variant};
            }
        }
        ini.endGroup();
    }
    return s;
}

bool VoiceSettings::save() const
{
    QSettings ini = openSettings();
    ini.setValue(QStringLiteral("Rate"), rateWpm);
    ini.setValue(QStringLiteral("Pitch"), pitch);
    ini.setValue(QStringLiteral("Volume"), volume);
    for (NarrexVoice v : AllVoices) {
        ini.beginGroup(QLatin1String(groupName(v)));
        ini.setValue(QStringLiteral("Voice"), choice(v).voice);
        ini.setValue(QStringLiteral("Variant"), choice(v).variant);
        ini.endGroup();
    }
    ini.sync();
    return ini.status() == QSettings::NoError;
}

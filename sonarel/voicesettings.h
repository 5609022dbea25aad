#pragma once

#include <QByteArray>
#include <QString>

// The engine's own settings: speaking rate, pitch and volume, and the
// espeak-ng voice (language plus optional variant) behind each of its three
// voices. Kept in an INI file of the engine's own ("Sonarel/Narrex.ini" in
// the user's configuration folder).
//
// The Chinese voices are spoken by espeak-ng's voice that reads pinyin
// (the engine hands it the pinyin it chose); English words inside Chinese
// text go to the English voice in the Chinese voice's variant.

enum class NarrexVoice { FemaleChinese, MaleChinese, MaleEnglish };

struct VoiceChoice {
    QString voice; // espeak-ng voice, "cmn-latn-pinyin"
    QString variant; // espeak-ng variant, "f3", or empty
    bool operator==(const VoiceChoice &) const = default;
};

struct VoiceSettings {
    int rateWpm = 165;
    int pitch = 50;
    int volume = 100;
    static inline const QString PinyinVoice = QStringLiteral("cmn-latn-pinyin");

    VoiceChoice femaleChinese {PinyinVoice, QStringLiteral("f2")};
    VoiceChoice maleChinese {PinyinVoice, QString()};
    VoiceChoice maleEnglish {QStringLiteral("en-us"), QString()};

    static constexpr int MinRate = 80;
    static constexpr int MaxRate = 450;

    const VoiceChoice &choice(NarrexVoice v) const;
    VoiceChoice &choice(NarrexVoice v);
    // "cmn-latn-pinyin+f3" for espeak_SetVoiceByName.
    QByteArray espeakName(NarrexVoice v) const;
    // The voice for English words inside a reading in voice v.
    QByteArray englishName(NarrexVoice v) const;
    // The voice for Chinese inside a reading in voice v.
    QByteArray mandarinName(NarrexVoice v) const;

    // Voices that can be offered: for Chinese only the one that reads the
    // engine's pinyin as Mandarin, for English the English ones.
    static bool readsChinese(const QString &voice);
    static bool readsEnglish(const QString &voice);

    // A stored choice of a voice that cannot read Chinese (espeak-ng's "cmn",
    // which spells Chinese out in English) is moved to the pinyin voice;
    // migrated tells whether load() did so.
    static VoiceSettings load(bool *migrated = nullptr);
    bool save() const;

    bool operator==(const VoiceSettings &) const = default;
};

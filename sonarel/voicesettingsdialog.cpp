#include "voicesettingsdialog.h"

#include "engine.h"
#include "pronunciationlistdialog.h"

#include "narrex.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr NarrexVoice RowVoices[3]
    = {NarrexVoice::FemaleChinese, NarrexVoice::MaleChinese, NarrexVoice::MaleEnglish};

QSpinBox *makeSpin(int min, int max, const QString &suffix)
{
    auto *spin = new QSpinBox;
    spin->setRange(min, max);
    spin->setSuffix(suffix);
    return spin;
}

} // namespace

VoiceSettingsDialog::VoiceSettingsDialog(const QList<InstalledVoice> &voices,
    const QStringList &variants, const QString &listPath, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("语音设置"));
    setObjectName(QStringLiteral("VoiceSettingsDialog"));

    auto *sound = new QGroupBox(QStringLiteral("声音"));
    auto *soundForm = new QFormLayout(sound);
    m_rate = makeSpin(VoiceSettings::MinRate, VoiceSettings::MaxRate, QStringLiteral(" 字/分"));
    m_pitch = makeSpin(0, 100, QString());
    m_volume = makeSpin(0, 200, QStringLiteral(" %"));
    m_rate->setObjectName(QStringLiteral("rate"));
    m_pitch->setObjectName(QStringLiteral("pitch"));
    m_volume->setObjectName(QStringLiteral("volume"));
    soundForm->addRow(QStringLiteral("语速(&R)："), m_rate);
    soundForm->addRow(QStringLiteral("音调(&P)："), m_pitch);
    soundForm->addRow(QStringLiteral("音量(&V)："), m_volume);

    auto *voiceBox = new QGroupBox(QStringLiteral("三种语音所用的发音"));
    auto *voiceForm = new QFormLayout(voiceBox);
    const QString labels[3] = {QStringLiteral("中文女声(&F)："), QStringLiteral("中文男声(&M)："),
        QStringLiteral("英文男声(&E)：")};
    const QString names[3] = {QStringLiteral("femaleChinese"), QStringLiteral("maleChinese"),
        QStringLiteral("maleEnglish")};
    for (int i = 0; i < 3; ++i) {
        // The Chinese voices only where the voice reads the engine's pinyin
        // as Mandarin; the English one among the English voices.
        QList<InstalledVoice> offered;
        for (const InstalledVoice &v : voices) {
            const bool fits = RowVoices[i] == NarrexVoice::MaleEnglish
                ? VoiceSettings::readsEnglish(v.name)
                : VoiceSettings::readsChinese(v.name);
            if (fits)
                offered.append(v);
        }
        m_rows[i] = makeRow(offered, variants);
        m_rows[i].voice->setObjectName(names[i] + QStringLiteral("Voice"));
        m_rows[i].variant->setObjectName(names[i] + QStringLiteral("Variant"));
        QString plain = labels[i];
        plain.remove(QStringLiteral("(&F)"))
            .remove(QStringLiteral("(&M)"))
            .remove(QStringLiteral("(&E)"));
        m_rows[i].voice->setAccessibleName(plain + QStringLiteral("语言"));
        m_rows[i].variant->setAccessibleName(plain + QStringLiteral("音色"));
        auto *line = new QHBoxLayout;
        line->addWidget(m_rows[i].voice, 2);
        line->addWidget(m_rows[i].variant, 1);
        auto *label = new QLabel(labels[i]);
        label->setBuddy(m_rows[i].voice);
        voiceForm->addRow(label, line);
    }

    auto *listButton = new QPushButton(QStringLiteral("读音表(&L)…"));
    listButton->setObjectName(QStringLiteral("pronunciations"));
    listButton->setToolTip(QStringLiteral("人名、地名等词语的读音"));
    connect(listButton, &QPushButton::clicked, this, [this, listPath] {
        PronunciationListDialog list(listPath, this);
        list.exec();
    });

    auto *buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults);
    buttons->addButton(listButton, QDialogButtonBox::ActionRole);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    buttons->button(QDialogButtonBox::RestoreDefaults)->setText(QStringLiteral("恢复默认(&D)"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
        [this] { setSettings(VoiceSettings()); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(sound);
    layout->addWidget(voiceBox);
    layout->addWidget(buttons);
}

VoiceSettingsDialog::VoiceRow VoiceSettingsDialog::makeRow(
    const QList<InstalledVoice> &voices, const QStringList &variants)
{
    VoiceRow row;
    row.voice = new QComboBox;
    for (const InstalledVoice &v : voices) {
        const QString label = VoiceSettings::readsChinese(v.name)
            ? QStringLiteral("普通话（%1）").arg(v.name)
            : v.label;
        row.voice->addItem(label, v.name);
    }
    row.variant = new QComboBox;
    row.variant->addItem(QStringLiteral("（标准）"), QString());
    for (const QString &v : variants)
        row.variant->addItem(v, v);
    return row;
}

void VoiceSettingsDialog::select(QComboBox *box, const QString &data)
{
    int i = box->findData(data);
    if (i < 0) {
        // Keep a stored choice visible even if that voice is not installed now.
        box->addItem(data, data);
        i = box->count() - 1;
    }
    box->setCurrentIndex(i);
}

void VoiceSettingsDialog::setSettings(const VoiceSettings &s)
{
    m_rate->setValue(s.rateWpm);
    m_pitch->setValue(s.pitch);
    m_volume->setValue(s.volume);
    for (int i = 0; i < 3; ++i) {
        select(m_rows[i].voice, s.choice(RowVoices[i]).voice);
        select(m_rows[i].variant, s.choice(RowVoices[i]).variant);
    }
}

VoiceSettings VoiceSettingsDialog::settings() const
{
    VoiceSettings s;
    s.rateWpm = m_rate->value();
    s.pitch = m_pitch->value();
    s.volume = m_volume->value();
    for (int i = 0; i < 3; ++i) {
        s.choice(RowVoices[i]) = {
            m_rows[i].voice->currentData().toString(), m_rows[i].variant->currentData().toString()};
    }
    return s;
}

int VoiceSettingsDialog::run(Engine &engine)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return NARREX_ERR_NO_GUI;
    Synthesizer &synth = Synthesizer::instance();
    VoiceSettingsDialog dialog(
        synth.voices(), synth.variants(), engine.userListPath(), QApplication::activeWindow());
    dialog.setSettings(engine.settings());
    if (dialog.exec() != QDialog::Accepted)
        return NARREX_ERR_CANCELLED;
    const VoiceSettings chosen = dialog.settings();
    engine.setSettings(chosen);
    return chosen.save() ? NARREX_OK : NARREX_ERR_FILE;
}

#pragma once

#include "synthesizer.h"
#include "voicesettings.h"

#include <QDialog>

class Engine;
class QComboBox;
class QSpinBox;

// The engine's own voice settings dialog.
class VoiceSettingsDialog : public QDialog
{
    Q_OBJECT

public:
    // listPath: the user's pronunciation list, edited from here.
    VoiceSettingsDialog(const QList<InstalledVoice> &voices, const QStringList &variants,
        const QString &listPath, QWidget *parent = nullptr);

    void setSettings(const VoiceSettings &settings);
    VoiceSettings settings() const;

    // Narrex_SetDialog: the dialog over the active window, for the engine's
    // settings; NARREX_OK when the user confirmed and they were kept.
    static int run(Engine &engine);

private:
    struct VoiceRow {
        QComboBox *voice = nullptr;
        QComboBox *variant = nullptr;
    };
    VoiceRow makeRow(const QList<InstalledVoice> &voices, const QStringList &variants);
    static void select(QComboBox *box, const QString &data);

    QSpinBox *m_rate = nullptr;
    QSpinBox *m_pitch = nullptr;
    QSpinBox *m_volume = nullptr;
    VoiceRow m_rows[3];
};

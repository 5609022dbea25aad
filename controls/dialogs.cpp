#include "dialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

QString Dialogs::qtFilter(const QString &windowsFilter)
{
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // File systems here tell case apart; Windows patterns don't.
        QStringList patterns;
        for (QString p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            p = p.trimmed();
            for (const QString &variant : {p, p.toLower(), p.toUpper()}) {
                if (!patterns.contains(variant))
                    patterns << variant;
            }
        }
        filters << QStringLiteral("%1 (%2)").arg(
            parts[i].trimmed(), patterns.join(QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

QString Dialogs::withDefaultSuffix(const QString &fileName, const QString &defaultSuffix)
{
    if (fileName.isEmpty() || defaultSuffix.isEmpty() || !QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    return fileName + QLatin1Char('.') + defaultSuffix;
}

QString Dialogs::applicationTitle()
{
    // The program file's name without its extension, the first character as
    // it is and the rest in lower case.
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    if (name.isEmpty())
        return QCoreApplication::applicationName();
    return name.left(1) + name.mid(1).toLower();
}

Dialogs::Answer QtDialogs::message(QWidget *parent, const QString &text, const QString &caption,
    Icon icon, Buttons buttons, bool topmost)
{
    QMessageBox box(parent);
    box.setWindowTitle(caption);
    box.setText(text);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Icon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    if (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) {
        const bool cancel = buttons == Buttons::YesNoCancel;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No
            | (cancel ? QMessageBox::Cancel : QMessageBox::NoButton));
        box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
        if (cancel)
            box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
        box.setDefaultButton(QMessageBox::Yes);
        // Esc answers the question the safe way: nothing is lost.
        box.setEscapeButton(cancel ? QMessageBox::Cancel : QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    }
    if (topmost)
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    const int result = box.exec();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (result == QMessageBox::Yes)
        return Answer::Yes;
    return result == QMessageBox::No ? Answer::No : Answer::Cancel;
}

QString QtDialogs::openFileName(QWidget *parent, const QString &filter)
{
    QFileDialog dialog(parent, QStringLiteral("打开"), QString(), qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::saveFileName(
    QWidget *parent, const QString &filter, const QString &defaultSuffix)
{
    QFileDialog dialog(parent, QStringLiteral("保存"), QString(), qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return withDefaultSuffix(dialog.selectedFiles().constFirst(), defaultSuffix);
}

bool QtDialogs::chooseFont(QWidget *parent, QFont &font)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, parent, QStringLiteral("字体"));
    if (ok)
        font = chosen;
    return ok;
}

bool QtDialogs::printerSetup(QWidget *parent, QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印设置"));
    return dialog.exec() == QDialog::Accepted;
}

#pragma once

// The skin engine: a store of skins held in the program's resources, and the
// skin component that dresses the whole application in one of them or, when
// switched off, gives the platform's own look back exactly.
//
// A skin is a Qt style sheet. Lines of the form
//     /* @palette Role #rrggbb */
// in it also set that role of the application's palette (Window, Button,
// Highlight, …), for the widgets that paint themselves from the palette.

#include <QObject>
#include <QPalette>
#include <QString>
#include <QStringList>

class SkinStore
{
public:
    // The skins stored with the program, "SkinItem0" to "SkinItem5".
    SkinStore();
    explicit SkinStore(const QStringList &resourcePaths);

    int count() const { return int(m_paths.size()); }
    QString itemName(int index) const { return QStringLiteral("SkinItem%1").arg(index); }
    // The skin's style sheet, read when first asked for.
    QString styleSheet(int index) const;

private:
    QStringList m_paths;
    mutable QStringList m_sheets;
};

class SkinData : public QObject
{
    Q_OBJECT

public:
    explicit SkinData(QObject *parent = nullptr);

    bool active() const { return m_active; }
    void setActive(bool active);

    // Takes skin number index of store; applied at once when active. An
    // index at or past the store's size is ignored.
    void loadFromCollection(const SkinStore &store, int index);
    // The number of the skin loaded last, or -1.
    int skinIndex() const { return m_index; }

    static QPalette paletteFor(const QString &styleSheet, const QPalette &base);

private:
    void apply();

    bool m_active = false;
    int m_index = -1;
    QString m_sheet;
    QPalette m_nativePalette;
    bool m_nativeSaved = false;
};

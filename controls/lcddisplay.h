#pragma once

// TLcdDisplay shows a whole number as a row of seven-segment digits, like a
// digital clock. Each digit is drawn from an image prepared when a geometry or
// colour property is set, so a paint is one fill and a few image copies.
//
// System colours (TColor values with the top byte 0xFF) are resolved
// through the application's palette, as the platform's colours.
//
// Segments: 0 top, 1 upper left, 2 upper right, 3 middle, 4 lower left,
// 5 lower right, 6 bottom.

#include "tcolor.h"

#include <QImage>
#include <QWidget>

#include <array>

class TLcdDisplay : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int NumDigits READ numDigits WRITE setNumDigits)
    Q_PROPERTY(int Value READ value WRITE setValue)
    Q_PROPERTY(int DigitHeight READ digitHeight WRITE setDigitHeight)
    Q_PROPERTY(int DigitWidth READ digitWidth WRITE setDigitWidth)
    Q_PROPERTY(int DigitLineWidth READ digitLineWidth WRITE setDigitLineWidth)
    Q_PROPERTY(uint BackgroundColor READ backgroundColor WRITE setBackgroundColor)
    Q_PROPERTY(uint LightOnColor READ lightOnColor WRITE setLightOnColor)
    Q_PROPERTY(uint LightOffColor READ lightOffColor WRITE setLightOffColor)

public:
    static constexpr int SegmentCount = 7;
    // Which segments each digit lights, in segment order.
    static const std::array<std::array<bool, SegmentCount>, 10> DigitSegments;

    explicit TLcdDisplay(QWidget *parent = nullptr);

    int numDigits() const { return m_numDigits; }
    void setNumDigits(int n);
    int value() const { return m_value; }
    void setValue(int v);
    int digitHeight() const { return m_digitHeight; }
    void setDigitHeight(int h);
    int digitWidth() const { return m_digitWidth; }
    void setDigitWidth(int w);
    int digitLineWidth() const { return m_digitLineWidth; }
    void setDigitLineWidth(int l);
    TColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(TColor c);
    TColor lightOnColor() const { return m_lightOnColor; }
    void setLightOnColor(TColor c);
    TColor lightOffColor() const { return m_lightOffColor; }
    void setLightOffColor(TColor c);

    // The characters painted, one per digit cell: Value with at least
    // NumDigits digits, zero padded, cut to its leftmost NumDigits. A
    // negative value starts with '-' (drawn as the middle bar alone) and pads
    // its digits to fill the rest. Empty when NumDigits is below 1: only the
    // background is painted then.
    QString displayedText() const;

    // The fourteen corner points P0..P13 of a digit W wide and H high with
    // segment lines L thick, and the polygon of each segment over them.
    static std::array<QPoint, 14> cornerPoints(int w, int h, int l);
    static const std::array<std::vector<int>, SegmentCount> SegmentPolygons;

    // The prepared image of a digit 0..9 (10 is the minus sign), and how many
    // times the images have been built, for tests and benchmarks.
    const QImage &digitImage(int index) const { return m_images[size_t(index)]; }
    int buildCount() const { return m_buildCount; }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    void buildDigitImages();
    void setDigitSegments(int digit, const std::array<bool, SegmentCount> &on);
    void rebuild();

    int m_numDigits = 6;
    int m_value = 0;
    int m_digitHeight = 30;
    int m_digitWidth = 20;
    int m_digitLineWidth = 5;
    TColor m_backgroundColor = Colors::Olive;
    TColor m_lightOnColor = Colors::Lime;
    TColor m_lightOffColor = Colors::Green;

    std::array<std::array<TColor, SegmentCount>, 11> m_segmentColors {};
    std::array<QImage, 11> m_images;
    int m_buildCount = 0;
};

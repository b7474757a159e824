#pragma once

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <cstdint>

// Draws single components as seen from straight above, lit from the top left. Works in photo
// pixels; the caller's painter transform handles supersampling.
class TPartPainter {
  public:
    enum class TLeads { LeftRight, TopBottom, AllSides };

    explicit TPartPainter(QPainter& painter) : Painter(painter) {}

    void Relay(const QRectF& body, const QStringList& marking);
    void Chip(const QRectF& body, TLeads leads, int leadsPerSide, const QStringList& marking,
              bool markingVertical = false);
    void Resistor(QPointF centre, bool vertical);
    void Capacitor(QPointF centre, bool vertical);
    void Diode(QPointF centre);
    void ResistorPack(QPointF centre, const QString& marking);
    void Electrolytic(QPointF centre, double radius, const QStringList& marking);
    void Crystal(const QRectF& body, const QStringList& marking);
    void Regulator(const QRectF& body);
    void Led(QPointF centre, const QColor& tint);
    void DipSwitch(const QRectF& body, int positions);
    void DSubMale(const QRectF& flange, int longRow, int shortRow);
    void Screw(QPointF centre, double radius);
    void PinHeader(const QRectF& body, int columns, int rows);
    void Sticker(const QRectF& area, const QString& serial, uint32_t seed);

    // Outer end of lead `index` on one side of a gull-wing package drawn by Chip().
    static QPointF LeadTip(const QRectF& body, Qt::Edge side, int leadsPerSide, int index);

    void Pad(const QRectF& area);
    void Via(QPointF centre, bool tented);
    void MountingHole(QPointF centre, double radius, const QColor& seenThrough);
    void Fiducial(QPointF centre);

    void Text(const QRectF& box, const QString& text, double pixelSize, const QColor& colour,
              int flags = Qt::AlignCenter, bool bold = false);
    void RotatedText(QPointF centre, const QString& text, double pixelSize, const QColor& colour,
                     double degrees, bool bold = false);

    static QColor Silkscreen() { return QColor(238, 240, 232); }
    static constexpr double LeadReach = 3.4;
    static QColor Gold() { return QColor(222, 178, 86); }
    static QFont Font(double pixelSize, bool bold, bool condensed = true);
    static QPainterPath RoundedPolygon(const QPolygonF& corners, double radius);

  private:
    void GullWingLeads(const QRectF& body, TLeads leads, int leadsPerSide);
    void Lead(const QRectF& area, bool horizontal);
    void ChipBody(const QRectF& body);
    void ChipMarking(const QRectF& body, const QStringList& marking, bool vertical);
    void EndCapped(QPointF centre, bool vertical, QSizeF size, const QColor& body);
    void HexNut(QPointF centre, double radius);
    void DSubShell(const QPolygonF& outline);
    void DSubPins(const QPolygonF& outline, int longRow, int shortRow);
    void DipSlot(const QRectF& slot);

    QPainter& Painter;
};

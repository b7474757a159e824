#include "partpainter.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

QLinearGradient Diagonal(const QRectF& area, const QColor& light, const QColor& dark) {
    QLinearGradient gradient(area.topLeft(), area.bottomRight());
    gradient.setColorAt(0.0, light);
    gradient.setColorAt(1.0, dark);
    return gradient;
}

QLinearGradient Across(QPointF from, QPointF to, std::initializer_list<QGradientStop> stops) {
    QLinearGradient gradient(from, to);
    for (const QGradientStop& stop : stops)
        gradient.setColorAt(stop.first, stop.second);
    return gradient;
}

QRadialGradient Dome(QPointF centre, double radius, const QColor& highlight, const QColor& middle,
                     const QColor& edge) {
    QRadialGradient gradient(centre, radius, centre - QPointF(radius * 0.35, radius * 0.35));
    gradient.setColorAt(0.0, highlight);
    gradient.setColorAt(0.55, middle);
    gradient.setColorAt(1.0, edge);
    return gradient;
}

QRectF Around(QPointF centre, double width, double height) {
    return QRectF(centre.x() - width / 2, centre.y() - height / 2, width, height);
}

QLinearGradient Tin(const QRectF& area) {
    return Diagonal(area, QColor(226, 227, 224), QColor(142, 144, 142));
}

QPointF Towards(QPointF from, QPointF to, double distance) {
    const QPointF delta = to - from;
    const double length = std::hypot(delta.x(), delta.y());
    return from + delta * (distance / length);
}

} // namespace

QFont TPartPainter::Font(double pixelSize, bool bold, bool condensed) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(pixelSize); // the canvas is set to 72 dpi, so a point is a pixel
    font.setBold(bold);
    if (condensed) font.setStretch(QFont::Condensed);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QPainterPath TPartPainter::RoundedPolygon(const QPolygonF& corners, double radius) {
    QPainterPath path;
    const int count = int(corners.size());
    for (int i = 0; i < count; ++i) {
        const QPointF corner = corners[i];
        const QPointF before = Towards(corner, corners[(i + count - 1) % count], radius);
        const QPointF after = Towards(corner, corners[(i + 1) % count], radius);
        if (i == 0)
            path.moveTo(before);
        else
            path.lineTo(before);
        path.quadTo(corner, after);
    }
    path.closeSubpath();
    return path;
}

void TPartPainter::Text(const QRectF& box, const QString& text, double pixelSize,
                        const QColor& colour, int flags, bool bold) {
    Painter.setFont(Font(pixelSize, bold));
    Painter.setPen(colour);
    Painter.drawText(box, flags, text);
}

void TPartPainter::RotatedText(QPointF centre, const QString& text, double pixelSize,
                               const QColor& colour, double degrees, bool bold) {
    Painter.save();
    Painter.translate(centre);
    Painter.rotate(degrees);
    Text(QRectF(-60, -pixelSize, 120, pixelSize * 2), text, pixelSize, colour, Qt::AlignCenter,
         bold);
    Painter.restore();
}

void TPartPainter::Pad(const QRectF& area) {
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(Diagonal(area, QColor(240, 204, 122), QColor(190, 144, 58)));
    Painter.drawRect(area);
}

void TPartPainter::Via(QPointF centre, bool tented) {
    Painter.setPen(Qt::NoPen);
    if (tented) {
        Painter.setBrush(QColor(96, 178, 112, 150));
        Painter.drawEllipse(centre, 1.7, 1.7);
        Painter.setBrush(QColor(10, 52, 26, 220));
        Painter.drawEllipse(centre + QPointF(0.15, 0.15), 0.75, 0.75);
        return;
    }
    Painter.setBrush(Dome(centre, 1.8, QColor(250, 222, 150), Gold(), QColor(170, 126, 50)));
    Painter.drawEllipse(centre, 1.8, 1.8);
    Painter.setBrush(QColor(22, 28, 24));
    Painter.drawEllipse(centre, 0.8, 0.8);
}

void TPartPainter::MountingHole(QPointF centre, double radius, const QColor& seenThrough) {
    Painter.setPen(Qt::NoPen);
    for (int i = 0; i < 8; ++i) {
        const double angle = i * M_PI / 4;
        Via(centre + QPointF(std::cos(angle), std::sin(angle)) * (radius + 2.6), false);
    }
    Painter.setBrush(Dome(centre, radius, QColor(250, 226, 160), Gold(), QColor(176, 132, 56)));
    Painter.drawEllipse(centre, radius, radius);
    const double hole = radius * 0.62;
    QRadialGradient wall(centre + QPointF(hole * 0.25, hole * 0.3), hole);
    wall.setColorAt(0.0, seenThrough);
    wall.setColorAt(0.78, seenThrough.darker(112));
    wall.setColorAt(1.0, QColor(90, 80, 60));
    Painter.setBrush(wall);
    Painter.drawEllipse(centre, hole, hole);
}

void TPartPainter::Fiducial(QPointF centre) {
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(QColor(132, 136, 82));
    Painter.drawEllipse(centre, 3.2, 3.2);
    Painter.setBrush(Dome(centre, 1.5, QColor(252, 230, 168), Gold(), QColor(180, 136, 60)));
    Painter.drawEllipse(centre, 1.5, 1.5);
}

void TPartPainter::Relay(const QRectF& body, const QStringList& marking) {
    Painter.setPen(QPen(QColor(12, 12, 14), 0.6));
    Painter.setBrush(Diagonal(body, QColor(58, 58, 62), QColor(18, 18, 20)));
    Painter.drawRoundedRect(body, 1.8, 1.8);
    const QRectF top = body.adjusted(1.6, 1.6, -1.6, -1.6);
    Painter.setPen(QPen(QColor(86, 86, 92, 150), 0.5));
    Painter.setBrush(Diagonal(top, QColor(46, 46, 50), QColor(27, 27, 30)));
    Painter.drawRoundedRect(top, 1.2, 1.2);
    QRadialGradient sheen(top.topLeft() + QPointF(top.width() * 0.3, top.height() * 0.3),
                          top.width() * 0.55);
    sheen.setColorAt(0.0, QColor(255, 255, 255, 26));
    sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(sheen);
    Painter.drawRoundedRect(top, 1.2, 1.2);
    Painter.setBrush(QColor(14, 14, 16));
    Painter.drawEllipse(QPointF(top.left() + 3.0, top.bottom() - 3.0), 1.1, 1.1);
    Text(top.adjusted(3, 1, -2, -1), marking.join('\n'), 5.0, QColor(178, 178, 172));
}

void TPartPainter::Lead(const QRectF& area, bool horizontal) {
    const QRectF pad =
        horizontal ? area.adjusted(-0.3, -0.5, 0.3, 0.5) : area.adjusted(-0.5, -0.3, 0.5, 0.3);
    Pad(pad);
    Painter.setPen(QPen(QColor(90, 92, 92), 0.3));
    Painter.setBrush(Tin(area));
    Painter.drawRect(area);
}

QPointF TPartPainter::LeadTip(const QRectF& body, Qt::Edge side, int leadsPerSide, int index) {
    const double spanY = body.height() * 0.86, spanX = body.width() * 0.86;
    const double y =
        body.top() + (body.height() - spanY) / 2 + spanY / leadsPerSide * (index + 0.5);
    const double x =
        body.left() + (body.width() - spanX) / 2 + spanX / leadsPerSide * (index + 0.5);
    switch (side) {
    case Qt::LeftEdge:
        return {body.left() - LeadReach, y};
    case Qt::RightEdge:
        return {body.right() + LeadReach, y};
    case Qt::TopEdge:
        return {x, body.top() - LeadReach};
    default:
        return {x, body.bottom() + LeadReach};
    }
}

void TPartPainter::GullWingLeads(const QRectF& body, TLeads leads, int leadsPerSide) {
    const double reach = LeadReach;
    const bool sides = leads != TLeads::TopBottom;
    const bool ends = leads != TLeads::LeftRight;
    const double spanY = body.height() * 0.86, spanX = body.width() * 0.86;
    const double pitchY = spanY / leadsPerSide, pitchX = spanX / leadsPerSide;
    for (int i = 0; i < leadsPerSide; ++i) {
        if (sides) {
            const double y = body.top() + (body.height() - spanY) / 2 + pitchY * (i + 0.5);
            const double w = std::min(pitchY * 0.5, 1.6);
            Lead(QRectF(body.left() - reach, y - w / 2, reach + 0.5, w), true);
            Lead(QRectF(body.right() - 0.5, y - w / 2, reach + 0.5, w), true);
        }
        if (ends) {
            const double x = body.left() + (body.width() - spanX) / 2 + pitchX * (i + 0.5);
            const double w = std::min(pitchX * 0.5, 1.6);
            Lead(QRectF(x - w / 2, body.top() - reach, w, reach + 0.5), false);
            Lead(QRectF(x - w / 2, body.bottom() - 0.5, w, reach + 0.5), false);
        }
    }
}

void TPartPainter::ChipBody(const QRectF& body) {
    Painter.setPen(QPen(QColor(14, 14, 16), 0.5));
    Painter.setBrush(Diagonal(body, QColor(56, 56, 60), QColor(26, 26, 29)));
    Painter.drawRoundedRect(body, 1.0, 1.0);
    const QRectF top = body.adjusted(0.9, 0.9, -0.9, -0.9);
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(Diagonal(top, QColor(46, 46, 50), QColor(34, 34, 37)));
    Painter.drawRect(top);
    const double dimple = std::clamp(std::min(body.width(), body.height()) * 0.07, 1.0, 2.6);
    const QPointF pin1 = top.topLeft() + QPointF(dimple + 1.6, dimple + 1.6);
    Painter.setBrush(QColor(70, 70, 74));
    Painter.drawEllipse(pin1 + QPointF(0.3, 0.3), dimple, dimple);
    Painter.setBrush(QColor(24, 24, 26));
    Painter.drawEllipse(pin1, dimple, dimple);
}

void TPartPainter::ChipMarking(const QRectF& body, const QStringList& marking, bool vertical) {
    const double side = vertical ? body.width() : body.height();
    const double size = std::clamp(side / (marking.size() + 1.2), 3.2, 6.5);
    const QColor ink(168, 168, 162);
    if (!vertical) {
        Text(body.adjusted(2, 1, -2, -1), marking.join('\n'), size, ink);
        return;
    }
    Painter.save();
    Painter.translate(body.center());
    Painter.rotate(-90);
    Text(QRectF(-body.height() / 2, -body.width() / 2, body.height(), body.width()),
         marking.join('\n'), size, ink);
    Painter.restore();
}

void TPartPainter::Chip(const QRectF& body, TLeads leads, int leadsPerSide,
                        const QStringList& marking, bool markingVertical) {
    GullWingLeads(body, leads, leadsPerSide);
    ChipBody(body);
    ChipMarking(body, marking, markingVertical);
}

void TPartPainter::EndCapped(QPointF centre, bool vertical, QSizeF size, const QColor& body) {
    const QSizeF along = vertical ? size.transposed() : size;
    const QRectF whole = Around(centre, along.width(), along.height());
    const double cap = size.width() * 0.24;
    const QRectF first = vertical ? QRectF(whole.left(), whole.top(), whole.width(), cap)
                                  : QRectF(whole.left(), whole.top(), cap, whole.height());
    const QRectF second = vertical ? first.translated(0, whole.height() - cap)
                                   : first.translated(whole.width() - cap, 0);
    const double grow = 0.7;
    Pad(vertical ? first.adjusted(-grow, -grow, grow, 0) : first.adjusted(-grow, -grow, 0, grow));
    Pad(vertical ? second.adjusted(-grow, 0, grow, grow) : second.adjusted(0, -grow, grow, grow));
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(Diagonal(whole, body.lighter(135), body.darker(125)));
    Painter.drawRect(whole);
    Painter.setBrush(Tin(first));
    Painter.drawRect(first);
    Painter.setBrush(Tin(second));
    Painter.drawRect(second);
}

void TPartPainter::Resistor(QPointF centre, bool vertical) {
    EndCapped(centre, vertical, QSizeF(6.2, 3.1), QColor(30, 30, 32));
}

void TPartPainter::Capacitor(QPointF centre, bool vertical) {
    EndCapped(centre, vertical, QSizeF(6.0, 3.1), QColor(166, 128, 84));
}

void TPartPainter::Diode(QPointF centre) {
    const QRectF body = Around(centre, 8.5, 4.4);
    Pad(Around(centre - QPointF(4.6, 0), 3.2, 3.0));
    Pad(Around(centre + QPointF(4.6, 0), 3.2, 3.0));
    Painter.setPen(QPen(QColor(10, 10, 12), 0.4));
    Painter.setBrush(Diagonal(body, QColor(60, 60, 64), QColor(22, 22, 24)));
    Painter.drawRoundedRect(body, 0.8, 0.8);
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(QColor(168, 168, 164));
    Painter.drawRect(QRectF(body.left() + 1.0, body.top() + 0.5, 1.3, body.height() - 1.0));
}

void TPartPainter::ResistorPack(QPointF centre, const QString& marking) {
    const QRectF body = Around(centre, 9.0, 5.6);
    for (int i = 0; i < 4; ++i) {
        const double x = body.left() + 1.2 + i * 2.2;
        Pad(QRectF(x - 0.3, body.top() - 1.9, 1.6, 2.4));
        Pad(QRectF(x - 0.3, body.bottom() - 0.5, 1.6, 2.4));
        Painter.setBrush(Tin(QRectF(x, body.top() - 1.2, 1.0, 1.6)));
        Painter.drawRect(QRectF(x, body.top() - 1.3, 1.0, 1.6));
        Painter.drawRect(QRectF(x, body.bottom() - 0.3, 1.0, 1.6));
    }
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(Diagonal(body, QColor(52, 52, 56), QColor(22, 22, 24)));
    Painter.drawRect(body);
    Text(body, marking, 3.2, QColor(212, 212, 206));
}

void TPartPainter::Electrolytic(QPointF centre, double radius, const QStringList& marking) {
    const double half = radius * 1.12, cut = radius * 0.45;
    const QPolygonF base = {
        centre + QPointF(-half + cut, -half), centre + QPointF(half, -half),
        centre + QPointF(half, half),         centre + QPointF(-half + cut, half),
        centre + QPointF(-half, half - cut),  centre + QPointF(-half, -half + cut)};
    Pad(Around(centre - QPointF(half + 1.0, 0), 5.0, radius * 0.5));
    Pad(Around(centre + QPointF(half + 1.0, 0), 5.0, radius * 0.5));
    Painter.setPen(QPen(QColor(10, 10, 12), 0.5));
    Painter.setBrush(QColor(34, 34, 37));
    Painter.drawPolygon(base);
    Painter.setPen(QPen(QColor(60, 62, 70), 1.0));
    Painter.setBrush(
        Dome(centre, radius, QColor(244, 245, 247), QColor(194, 196, 201), QColor(128, 130, 137)));
    Painter.drawEllipse(centre, radius, radius);
    QPainterPath can;
    can.addEllipse(centre, radius - 0.6, radius - 0.6);
    QPainterPath side;
    side.addRect(QRectF(centre.x() - radius, centre.y() - radius, radius * 0.62, radius * 2));
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(QColor(24, 26, 40, 225));
    Painter.drawPath(can.intersected(side));
    Painter.setPen(QPen(QColor(120, 122, 128, 200), 0.7));
    Painter.setBrush(Qt::NoBrush);
    Painter.drawEllipse(centre, radius * 0.8, radius * 0.8);
    const double vent = radius * 0.45;
    Painter.drawLine(centre - QPointF(vent, 0), centre + QPointF(vent, 0));
    Painter.drawLine(centre - QPointF(0, vent), centre + QPointF(0, vent));
    Text(Around(centre + QPointF(radius * 0.42, radius * 0.45), radius, radius * 0.6),
         marking.join(' '), radius * 0.22, QColor(50, 50, 56));
}

void TPartPainter::Crystal(const QRectF& body, const QStringList& marking) {
    Pad(Around(QPointF(body.left() + 1.0, body.center().y()), 4.0, body.height() * 0.6));
    Pad(Around(QPointF(body.right() - 1.0, body.center().y()), 4.0, body.height() * 0.6));
    Painter.setPen(QPen(QColor(96, 98, 104), 0.6));
    Painter.setBrush(Diagonal(body, QColor(236, 237, 240), QColor(146, 148, 154)));
    Painter.drawRoundedRect(body, 2.6, 2.6);
    Painter.setPen(QPen(QColor(255, 255, 255, 110), 0.6));
    Painter.setBrush(Qt::NoBrush);
    Painter.drawRoundedRect(body.adjusted(1.4, 1.4, -1.4, -1.4), 1.8, 1.8);
    Text(body, marking.join('\n'), body.height() * 0.27, QColor(60, 60, 66));
}

void TPartPainter::Regulator(const QRectF& body) {
    const QRectF tab(body.left() + body.width() * 0.2, body.top() - 5.0, body.width() * 0.6, 5.5);
    Pad(tab.adjusted(-1, -1.2, 1, 0));
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(Tin(tab));
    Painter.drawRect(tab);
    for (int i = 0; i < 3; ++i) {
        const double x = body.left() + body.width() * (0.2 + 0.3 * i);
        Lead(QRectF(x - 1.2, body.bottom() - 0.5, 2.4, 4.2), false);
    }
    ChipBody(body);
    Text(body.adjusted(1, 1, -1, -1), QStringLiteral("RG33A\n2403"), 3.6, QColor(168, 168, 162));
}

void TPartPainter::Led(QPointF centre, const QColor& tint) {
    Pad(Around(centre - QPointF(2.6, 0), 2.2, 3.6));
    Pad(Around(centre + QPointF(2.6, 0), 2.2, 3.6));
    const QRectF body = Around(centre, 5.4, 3.4);
    Painter.setPen(QPen(QColor(170, 170, 160), 0.3));
    Painter.setBrush(QColor(232, 234, 226));
    Painter.drawRect(body);
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(Dome(centre, 1.9, tint.lighter(160), tint, tint.darker(150)));
    Painter.drawEllipse(centre, 1.9, 1.5);
}

void TPartPainter::DipSlot(const QRectF& slot) {
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(
        Across(slot.topLeft(), slot.bottomLeft(),
               {{0.0, QColor(60, 4, 8)}, {0.3, QColor(104, 12, 16)}, {1.0, QColor(120, 16, 20)}}));
    Painter.drawRect(slot);
    // Off: the knob rests at the end away from "ON".
    const QRectF knob(slot.left() + 0.5, slot.top() + slot.height() * 0.5, slot.width() - 1.0,
                      slot.height() * 0.5 - 0.5);
    Painter.setBrush(QColor(40, 0, 4, 150));
    Painter.drawRect(knob.translated(0.3, -0.9));
    Painter.setPen(QPen(QColor(150, 150, 146), 0.35));
    Painter.setBrush(Across(knob.topLeft(), knob.bottomRight(),
                            {{0.0, QColor(255, 255, 253)}, {1.0, QColor(212, 212, 206)}}));
    Painter.drawRect(knob);
    Painter.setPen(QPen(QColor(175, 175, 170), 0.35));
    for (int ridge = 1; ridge <= 2; ++ridge) {
        const double y = knob.top() + knob.height() * ridge / 3.0;
        Painter.drawLine(QPointF(knob.left() + 0.6, y), QPointF(knob.right() - 0.6, y));
    }
}

void TPartPainter::DipSwitch(const QRectF& body, int positions) {
    const double margin = 3.2;
    const double pitch = (body.width() - 2 * margin) / positions;
    for (int i = 0; i < positions; ++i) {
        const double x = body.left() + margin + pitch * (i + 0.5);
        Lead(QRectF(x - 1.1, body.top() - 2.4, 2.2, 2.8), false);
        Lead(QRectF(x - 1.1, body.bottom() - 0.4, 2.2, 2.8), false);
    }
    Painter.setPen(QPen(QColor(96, 8, 12), 0.6));
    Painter.setBrush(Across(
        body.topLeft(), body.bottomLeft(),
        {{0.0, QColor(226, 58, 58)}, {0.5, QColor(200, 32, 36)}, {1.0, QColor(158, 20, 24)}}));
    Painter.drawRoundedRect(body, 1.2, 1.2);
    Painter.setPen(QPen(QColor(255, 150, 150, 120), 0.5));
    Painter.drawLine(body.topLeft() + QPointF(1.2, 0.6), body.topRight() + QPointF(-1.2, 0.6));
    Text(QRectF(body.left() + margin, body.top() + 0.6, 20, 8), QStringLiteral("ON"), 5.6,
         QColor(250, 250, 246), Qt::AlignLeft | Qt::AlignVCenter, true);
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(QColor(250, 250, 246));
    const QPointF arrow(body.left() + margin + 12.0, body.top() + 4.6);
    Painter.drawPolygon(
        QPolygonF{arrow + QPointF(-1.6, 1.4), arrow + QPointF(1.6, 1.4), arrow + QPointF(0, -1.6)});
    const double slotTop = body.top() + body.height() * 0.36;
    const double slotHeight = body.height() * 0.54;
    for (int i = 0; i < positions; ++i) {
        const double x = body.left() + margin + pitch * (i + 0.5);
        DipSlot(QRectF(x - pitch * 0.31, slotTop, pitch * 0.62, slotHeight));
    }
}

void TPartPainter::Screw(QPointF centre, double radius) {
    Painter.setPen(QPen(QColor(80, 82, 86), 0.5));
    Painter.setBrush(
        Dome(centre, radius, QColor(246, 246, 248), QColor(184, 186, 190), QColor(118, 120, 126)));
    Painter.drawEllipse(centre, radius, radius);
    Painter.setPen(QPen(QColor(40, 40, 44), radius * 0.22, Qt::SolidLine, Qt::RoundCap));
    const double arm = radius * 0.5;
    Painter.drawLine(centre - QPointF(arm, 0), centre + QPointF(arm, 0));
    Painter.drawLine(centre - QPointF(0, arm), centre + QPointF(0, arm));
}

void TPartPainter::HexNut(QPointF centre, double radius) {
    QPolygonF hexagon;
    for (int i = 0; i < 6; ++i) {
        const double angle = M_PI / 6 + i * M_PI / 3;
        hexagon << centre + QPointF(std::cos(angle), std::sin(angle)) * radius;
    }
    Painter.setPen(QPen(QColor(70, 72, 76), 0.6));
    Painter.setBrush(
        Diagonal(hexagon.boundingRect(), QColor(236, 237, 239), QColor(120, 122, 128)));
    Painter.drawPolygon(hexagon);
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(Dome(centre, radius * 0.8, QColor(226, 227, 230), QColor(190, 192, 196),
                          QColor(150, 152, 158)));
    Painter.drawEllipse(centre, radius * 0.78, radius * 0.78);
    const double hole = radius * 0.42;
    QRadialGradient thread(centre + QPointF(hole * 0.3, hole * 0.3), hole);
    thread.setColorAt(0.0, QColor(10, 10, 12));
    thread.setColorAt(0.75, QColor(34, 34, 38));
    thread.setColorAt(1.0, QColor(96, 98, 104));
    Painter.setBrush(thread);
    Painter.drawEllipse(centre, hole, hole);
}

void TPartPainter::DSubShell(const QPolygonF& outline) {
    const QPainterPath outer = RoundedPolygon(outline, 4.0);
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(QColor(0, 0, 0, 90));
    Painter.drawPath(outer.translated(1.2, 1.8));
    const QRectF box = outline.boundingRect();
    Painter.setPen(QPen(QColor(84, 86, 92), 0.6));
    Painter.setBrush(Across(box.topLeft(), box.topRight(),
                            {{0.0, QColor(244, 245, 247)},
                             {0.45, QColor(200, 202, 207)},
                             {1.0, QColor(140, 142, 148)}}));
    Painter.drawPath(outer);
    QPolygonF innerOutline;
    const QPointF middle = box.center();
    for (const QPointF& corner : outline)
        innerOutline << Towards(corner, middle, 3.6);
    const QPainterPath inner = RoundedPolygon(innerOutline, 3.0);
    Painter.setPen(QPen(QColor(20, 20, 24), 0.8));
    Painter.setBrush(Diagonal(innerOutline.boundingRect(), QColor(24, 26, 30), QColor(46, 48, 54)));
    Painter.drawPath(inner);
}

void TPartPainter::DSubPins(const QPolygonF& outline, int longRow, int shortRow) {
    const QRectF box = outline.boundingRect();
    const double margin = box.width() * 0.42;
    const double first = box.top() + margin, last = box.bottom() - margin;
    const double pitch = (last - first) / (longRow - 1);
    const double radius = std::min(pitch * 0.3, box.width() * 0.1);
    auto pin = [&](QPointF at) {
        Painter.setBrush(QColor(0, 0, 0, 140));
        Painter.drawEllipse(at + QPointF(0.5, 0.8), radius + 0.6, radius + 0.6);
        Painter.setBrush(
            Dome(at, radius, QColor(255, 244, 196), QColor(218, 172, 80), QColor(136, 96, 34)));
        Painter.drawEllipse(at, radius, radius);
    };
    Painter.setPen(Qt::NoPen);
    for (int i = 0; i < longRow; ++i)
        pin(QPointF(box.left() + box.width() * 0.34, first + pitch * i));
    for (int i = 0; i < shortRow; ++i)
        pin(QPointF(box.left() + box.width() * 0.68, first + pitch * (i + 0.5)));
    const QColor ink(150, 150, 156);
    Text(Around(QPointF(box.left() + box.width() * 0.34, first - pitch * 0.75), 8, 4), "1", 2.6,
         ink);
    Text(Around(QPointF(box.left() + box.width() * 0.68, first - pitch * 0.25), 8, 4), "20", 2.6,
         ink);
}

void TPartPainter::DSubMale(const QRectF& flange, int longRow, int shortRow) {
    Painter.setPen(QPen(QColor(70, 72, 78), 0.7));
    Painter.setBrush(Across(flange.topLeft(), flange.topRight(),
                            {{0.0, QColor(226, 228, 232)},
                             {0.6, QColor(192, 194, 199)},
                             {1.0, QColor(150, 152, 158)}}));
    Painter.drawRoundedRect(flange, 3.0, 3.0);
    Painter.setPen(QPen(QColor(255, 255, 255, 120), 0.8));
    Painter.setBrush(Qt::NoBrush);
    Painter.drawRoundedRect(flange.adjusted(1.8, 1.8, -1.8, -1.8), 2.0, 2.0);
    const double postRadius = flange.width() * 0.15;
    const double postInset = flange.height() * 0.062;
    HexNut(QPointF(flange.center().x(), flange.top() + postInset), postRadius);
    HexNut(QPointF(flange.center().x(), flange.bottom() - postInset), postRadius);

    const double width = flange.width() * 0.54, slant = width * 0.2;
    const double top = flange.top() + flange.height() * 0.15;
    const double bottom = flange.bottom() - flange.height() * 0.15;
    const double left = flange.center().x() - width / 2, right = left + width;
    const QPolygonF outline = {QPointF(left, top), QPointF(right, top + slant),
                               QPointF(right, bottom - slant), QPointF(left, bottom)};
    DSubShell(outline);
    DSubPins(outline, longRow, shortRow);
}

void TPartPainter::PinHeader(const QRectF& body, int columns, int rows) {
    Painter.setPen(QPen(QColor(8, 8, 10), 0.5));
    Painter.setBrush(Diagonal(body, QColor(54, 54, 58), QColor(20, 20, 22)));
    Painter.drawRect(body);
    const double pitchX = body.width() / columns, pitchY = body.height() / rows;
    for (int column = 0; column < columns; ++column)
        for (int row = 0; row < rows; ++row) {
            const QPointF centre(body.left() + pitchX * (column + 0.5),
                                 body.top() + pitchY * (row + 0.5));
            Painter.setPen(QPen(QColor(70, 70, 76), 0.4));
            Painter.setBrush(Qt::NoBrush);
            Painter.drawRect(Around(centre, pitchX - 1.0, pitchY - 1.0));
            const QRectF tip = Around(centre, 2.6, 2.6);
            Painter.setPen(Qt::NoPen);
            Painter.setBrush(QColor(0, 0, 0, 120));
            Painter.drawRect(tip.translated(0.6, 0.9));
            Painter.setBrush(Diagonal(tip, QColor(255, 236, 170), QColor(176, 128, 46)));
            Painter.drawRect(tip);
        }
}

void TPartPainter::Sticker(const QRectF& area, const QString& serial, uint32_t seed) {
    Painter.setPen(QPen(QColor(200, 200, 194), 0.4));
    Painter.setBrush(QColor(246, 246, 240));
    Painter.drawRoundedRect(area, 1.2, 1.2);
    const QRectF bars = area.adjusted(4, 3, -4, -area.height() * 0.42);
    uint32_t state = seed;
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(QColor(24, 24, 26));
    for (double x = bars.left(); x < bars.right() - 1.0;) {
        state = state * 1664525U + 1013904223U;
        const double width = 0.45 + double((state >> 24) % 3) * 0.45;
        const double gap = 0.45 + double((state >> 16) % 3) * 0.45;
        Painter.drawRect(QRectF(x, bars.top(), width, bars.height()));
        x += width + gap;
    }
    Text(QRectF(area.left(), bars.bottom() + 0.5, area.width(), area.bottom() - bars.bottom() - 1),
         serial, 4.6, QColor(30, 30, 32));
}

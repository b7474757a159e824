#include "boardlayout.h"

#include "noise.h"
#include "photofinish.h"

#include <QPainter>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

using TLeads = TPartPainter::TLeads;

const QColor Paper(247, 247, 244);
const QColor Laminate(20, 80, 48);
const QColor Pour(36, 113, 66);
const QColor Copper(47, 128, 77);

const QRectF U1(300, 140, 64, 64);
const QRectF U2(228, 100, 20, 46);
const QRectF U3(228, 250, 20, 46);
const QRectF U4(262, 302, 42, 42);
const QRectF U5(440, 170, 22, 12);
const QRectF U6(468, 300, 24, 13);
const QRectF U7(384, 92, 50, 15);
const QRectF U8(232, 36, 42, 14);
const QRectF U9(290, 36, 42, 14);
const QRectF U10(480, 120, 36, 14);
const QRectF SW1(373, 33, 67, 25.5);
const QRectF Y1(352, 236, 24, 12);
const QRectF J2(544, 96, 17, 43);
const QRectF Flange(30, 84, 62, 242);
constexpr int U1Leads = 25, DriverLeads = 9, U4Leads = 16, OptoLeads = 8, U7Leads = 10;
constexpr int DipPositions = 8;
constexpr double FingerLeft = 190, FingerPitch = 4.6, FingerWidth = 3.2, KeyGap = 13.8;

QRectF RelayBody(int index) {
    return QRectF(126, 40 + 42 * index, 50, 36);
}
double RelayCentreY(int index) {
    return RelayBody(index).center().y();
}

double DipSlotX(int index) {
    const double margin = 3.2, pitch = (SW1.width() - 2 * margin) / DipPositions;
    return SW1.left() + margin + pitch * (index + 0.5);
}

double FingerX(int index) {
    return FingerLeft + FingerPitch * index + (index >= 11 ? KeyGap - FingerPitch : 0);
}

QPointF Lead(const QRectF& body, Qt::Edge side, int count, int index) {
    return TPartPainter::LeadTip(body, side, count, index);
}

// Cuts every corner of an orthogonal path at 45 degrees, the way board routers draw them.
QPolygonF Chamfered(const QPolygonF& corners, double cut) {
    QPolygonF result;
    result << corners.first();
    for (int i = 1; i + 1 < corners.size(); ++i) {
        const QPointF in = corners[i] - corners[i - 1], out = corners[i + 1] - corners[i];
        const double lengthIn = std::hypot(in.x(), in.y());
        const double lengthOut = std::hypot(out.x(), out.y());
        const double c = std::min({cut, lengthIn / 2, lengthOut / 2});
        if (c < 0.01) {
            result << corners[i];
            continue;
        }
        result << corners[i] - in * (c / lengthIn) << corners[i] + out * (c / lengthOut);
    }
    result << corners.last();
    return result;
}

// Horizontal, one 45-degree run starting at x = turn, horizontal again.
QPolygonF SBendH(QPointF from, QPointF to, double turn) {
    const double run = std::abs(to.y() - from.y());
    const double direction = to.x() < from.x() ? -1.0 : 1.0;
    return {from, QPointF(turn, from.y()), QPointF(turn + direction * run, to.y()), to};
}

// Vertical, one 45-degree run starting at y = turn, vertical again.
QPolygonF SBendV(QPointF from, QPointF to, double turn) {
    const double run = std::abs(to.x() - from.x());
    const double direction = to.y() < from.y() ? -1.0 : 1.0;
    return {from, QPointF(from.x(), turn), QPointF(to.x(), turn + direction * run), to};
}

// Horizontal to x = turn, vertical, horizontal to the end, corners chamfered.
QPolygonF Dogleg(QPointF from, QPointF to, double turn) {
    return Chamfered({from, QPointF(turn, from.y()), QPointF(turn, to.y()), to}, 2.5);
}

void Prepare(QPainter& painter, int supersample) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(supersample, supersample);
}

QImage EmptyMask(const QImage& like) {
    QImage mask(like.size(), QImage::Format_Grayscale8);
    mask.fill(0);
    return mask;
}

} // namespace

TBoardLayout::TBoardLayout(int supersample) : Supersample(supersample) {
    PlaceRelays();
    PlaceLogic();
    PlaceInputSection();
    PlacePower();
    PlacePassives();
    RouteRelayDrivers();
    RouteControllerBuses();
    RouteHostInterface();
    RouteInputs();
    RoutePower();
    RouteConfiguration();
    AddStitching();
}

void TBoardLayout::AddPart(const QRectF& footprint, double height,
                           std::function<void(TPartPainter&)> draw) {
    QPainterPath path;
    path.addRoundedRect(footprint, 1.5, 1.5);
    Parts.push_back({path, height, std::move(draw)});
}

void TBoardLayout::AddChip(const QRectF& body, TLeads leads, int leadsPerSide,
                           const QStringList& marking, bool vertical) {
    AddPart(body, 1.4,
            [=](TPartPainter& parts) { parts.Chip(body, leads, leadsPerSide, marking, vertical); });
}

void TBoardLayout::Label(QPointF centre, const QString& text, double size, double degrees) {
    Labels.push_back({QRectF(centre.x() - 40, centre.y() - size, 80, size * 2), text, size,
                      Qt::AlignCenter, degrees});
}

void TBoardLayout::Trace(const QPolygonF& points, double width) {
    Traces.push_back({points, width});
}

void TBoardLayout::AddFanout(const QRectF& body, Qt::Edge side, int leadsPerSide,
                             std::initializer_list<std::pair<int, int>> routed) {
    const TNoise noise(uint32_t(body.left() * 131 + body.top() * 7 + int(side)));
    const QPointF outward = side == Qt::LeftEdge    ? QPointF(-1, 0)
                            : side == Qt::RightEdge ? QPointF(1, 0)
                            : side == Qt::TopEdge   ? QPointF(0, -1)
                                                    : QPointF(0, 1);
    for (int i = 0; i < leadsPerSide; ++i) {
        const bool taken = std::any_of(routed.begin(), routed.end(), [i](const auto& range) {
            return i >= range.first && i <= range.second;
        });
        if (taken || noise.At(i, 0) < 0.35f) continue;
        const QPointF tip = Lead(body, side, leadsPerSide, i);
        // Neighbouring vias are staggered so they do not touch at fine pitch.
        const double length = 2.4 + (i % 2) * 3.2 + noise.At(i, 1) * 1.2;
        const QPointF end = tip + outward * length;
        Trace({tip, end}, 0.9);
        Vias.push_back(end);
    }
}

void TBoardLayout::PlaceRelays() {
    for (int i = 0; i < 8; ++i) {
        const QRectF body = RelayBody(i);
        AddPart(body, 7.0, [body](TPartPainter& parts) {
            parts.Relay(body, {QStringLiteral("KR-05H"), QStringLiteral("5VDC 2A")});
        });
        Outlines.push_back(body.adjusted(-1.5, -1.5, 1.5, 1.5));
        Labels.push_back({QRectF(178.5, body.center().y() - 6, 18, 12),
                          QStringLiteral("K%1").arg(i + 1), 5.6, Qt::AlignLeft | Qt::AlignVCenter,
                          0});
        const QPointF diode(204, body.center().y());
        AddPart(QRectF(diode.x() - 4.3, diode.y() - 2.2, 8.6, 4.4), 1.2,
                [diode](TPartPainter& parts) { parts.Diode(diode); });
        // Contact traces leave towards the connector under the bracket.
        Trace({QPointF(body.left() + 2, body.top() + 8), QPointF(95, body.top() + 8)}, 2.6);
        Trace({QPointF(body.left() + 2, body.bottom() - 8), QPointF(95, body.bottom() - 8)}, 2.6);
        if (i < 7) Vias.push_back(QPointF(118, body.bottom() + 3));
    }
    Label(QPointF(116, 31), QStringLiteral("J1"), 6.4);
    Labels.push_back({QRectF(130, 24, 60, 12), QStringLiteral("OUT 0-7"), 5.0,
                      Qt::AlignLeft | Qt::AlignVCenter, 0});
}

void TBoardLayout::PlaceLogic() {
    AddChip(U1, TLeads::AllSides, U1Leads,
            {QStringLiteral("TK8C-100"), QStringLiteral("A1 2407"), QStringLiteral("KR38015.2")});
    Label(QPointF(291, 132), QStringLiteral("U1"));
    AddChip(U2, TLeads::LeftRight, DriverLeads, {QStringLiteral("RDX-8"), QStringLiteral("2318")},
            true);
    Label(QPointF(238, 91), QStringLiteral("U2"));
    AddChip(U3, TLeads::LeftRight, DriverLeads, {QStringLiteral("RDX-8"), QStringLiteral("2318")},
            true);
    Label(QPointF(238, 241), QStringLiteral("U3"));
    AddChip(U4, TLeads::AllSides, U4Leads,
            {QStringLiteral("TKB1"), QStringLiteral("PX8A"), QStringLiteral("2402")});
    Label(QPointF(316, 352), QStringLiteral("U4"));
    AddChip(U5, TLeads::TopBottom, 4, {QStringLiteral("24K8")});
    Label(QPointF(470, 176), QStringLiteral("U5"));
    AddChip(U10, TLeads::TopBottom, 7, {QStringLiteral("TK8-CFG"), QStringLiteral("2339")});
    Label(QPointF(498, 145), QStringLiteral("U10"));
    AddPart(Y1, 3.0, [](TPartPainter& parts) {
        parts.Crystal(Y1, {QStringLiteral("25.000"), QStringLiteral("K8X")});
    });
    Label(QPointF(364, 228), QStringLiteral("Y1"));
    AddPart(J2, 5.0, [](TPartPainter& parts) { parts.PinHeader(J2, 2, 5); });
    Outlines.push_back(J2.adjusted(-1.5, -1.5, 1.5, 1.5));
    Label(QPointF(553, 88), QStringLiteral("J2"));
    Label(QPointF(536, 118), QStringLiteral("JTAG"), 4.6, -90);
}

void TBoardLayout::PlaceInputSection() {
    AddChip(U8, TLeads::TopBottom, OptoLeads, {QStringLiteral("OQ4-7X"), QStringLiteral("2251")});
    Label(QPointF(224, 43), QStringLiteral("U8"));
    AddChip(U9, TLeads::TopBottom, OptoLeads, {QStringLiteral("OQ4-7X"), QStringLiteral("2251")});
    Label(QPointF(340, 43), QStringLiteral("U9"));
    AddChip(U7, TLeads::TopBottom, U7Leads, {QStringLiteral("TF74K"), QStringLiteral("2331")});
    Label(QPointF(444, 100), QStringLiteral("U7"));
    AddPart(SW1, 4.0, [](TPartPainter& parts) { parts.DipSwitch(SW1, DipPositions); });
    Labels.push_back({QRectF(336, 40, 32, 12), QStringLiteral("SW1"), 6.2,
                      Qt::AlignRight | Qt::AlignVCenter, 0});
    Labels.push_back({QRectF(446, 40, 60, 12), QStringLiteral("FILTER"), 6.2,
                      Qt::AlignLeft | Qt::AlignVCenter, 0});
    for (int i = 0; i < DipPositions; ++i)
        Label(QPointF(DipSlotX(i), 63.4), QString::number(DipPositions - 1 - i), 6.4);
    for (int i = 0; i < 2; ++i) {
        const QPointF pack(466, 74 + i * 14);
        AddPart(QRectF(pack.x() - 4.5, pack.y() - 2.8, 9, 5.6), 0.9,
                [pack](TPartPainter& parts) { parts.ResistorPack(pack, QStringLiteral("103")); });
        Label(pack + QPointF(13, 0), QStringLiteral("RN%1").arg(3 + i), 4.6);
    }
    for (int i = 0; i < 2; ++i) {
        const QPointF pack(262, 96 + i * 168);
        AddPart(QRectF(pack.x() - 4.5, pack.y() - 2.8, 9, 5.6), 0.9,
                [pack](TPartPainter& parts) { parts.ResistorPack(pack, QStringLiteral("472")); });
        Label(pack + QPointF(0, -8), QStringLiteral("RN%1").arg(1 + i), 4.6);
    }
}

void TBoardLayout::PlacePower() {
    AddPart(U6.adjusted(0, -5, 0, 4), 1.6, [](TPartPainter& parts) { parts.Regulator(U6); });
    Label(QPointF(480, 325), QStringLiteral("U6"));
    const QPointF caps[] = {{520, 312}, {552, 312}};
    for (int i = 0; i < 2; ++i) {
        const QPointF centre = caps[i];
        AddPart(
            QRectF(centre.x() - 13.5, centre.y() - 13.5, 27, 27), 9.0,
            [centre](TPartPainter& parts) {
                parts.Electrolytic(centre, 11.5, {QStringLiteral("100"), QStringLiteral("16V")});
            });
        Label(centre + QPointF(0, -19), QStringLiteral("C%1").arg(1 + i));
        Label(centre + QPointF(11, -16), QStringLiteral("+"), 5.6);
    }
    const struct {
        QPointF Centre;
        QColor Tint;
        const char* Name;
    } leds[] = {{{548, 250}, QColor(60, 220, 90), "PWR"},
                {{548, 262}, QColor(240, 170, 40), "ACT"}};
    for (const auto& led : leds) {
        const QPointF centre = led.Centre;
        const QColor tint = led.Tint;
        AddPart(QRectF(centre.x() - 3, centre.y() - 2, 6, 4), 1.0,
                [centre, tint](TPartPainter& parts) { parts.Led(centre, tint); });
        Labels.push_back({QRectF(centre.x() + 6, centre.y() - 5, 30, 10),
                          QString::fromLatin1(led.Name), 4.8, Qt::AlignLeft | Qt::AlignVCenter, 0});
    }
    AddPart(QRectF(468, 344, 94, 28), 0.4, [](TPartPainter& parts) {
        parts.Sticker(QRectF(468, 344, 94, 28), QStringLiteral("SN K8-0042175"), 77);
    });
}

void TBoardLayout::PlacePassives() {
    const struct {
        QPointF Centre;
        bool Vertical;
        bool Capacitor;
    } passives[] = {
        {{292, 214}, true, true},   {{372, 134}, false, true},  {{372, 214}, false, true},
        {{256, 150}, true, true},   {{256, 238}, true, true},   {{236, 312}, true, false},
        {{246, 312}, true, true},   {{236, 334}, true, false},  {{246, 334}, true, true},
        {{316, 296}, false, true},  {{316, 356}, false, true},  {{346, 228}, true, true},
        {{382, 228}, true, true},   {{364, 262}, false, false}, {{392, 262}, false, false},
        {{420, 128}, false, true},  {{432, 128}, false, true},  {{446, 112}, true, false},
        {{446, 150}, false, false}, {{470, 150}, false, true},  {{520, 152}, false, true},
        {{531, 152}, false, true},  {{560, 200}, true, false},  {{570, 200}, true, false},
        {{498, 286}, true, true},   {{458, 306}, true, true},   {{250, 64}, false, false},
        {{264, 64}, false, false},  {{278, 64}, false, true},   {{212, 28}, false, true},
        {{286, 26}, false, true},   {{424, 200}, false, false}, {{424, 210}, false, false},
        {{396, 176}, false, true},  {{408, 176}, false, true},  {{332, 226}, true, false},
    };
    for (const auto& passive : passives) {
        const QPointF centre = passive.Centre;
        const bool vertical = passive.Vertical, capacitor = passive.Capacitor;
        const QSizeF size = vertical ? QSizeF(3.2, 6.4) : QSizeF(6.4, 3.2);
        AddPart(QRectF(centre - QPointF(size.width() / 2, size.height() / 2), size), 0.8,
                [centre, vertical, capacitor](TPartPainter& parts) {
                    if (capacitor)
                        parts.Capacitor(centre, vertical);
                    else
                        parts.Resistor(centre, vertical);
                });
    }
    Label(QPointF(247, 323), QStringLiteral("C12"), 4.4);
    Label(QPointF(378, 272), QStringLiteral("R7  R8"), 4.4);
}

// Each relay's coil diode feeds one driver input; the doglegs nest so no two cross.
void TBoardLayout::RouteRelayDrivers() {
    for (int i = 0; i < 8; ++i) {
        const QRectF driver = i < 4 ? U2 : U3;
        const int local = i % 4;
        const QPointF diode(210.6, RelayCentreY(i));
        const QPointF input = Lead(driver, Qt::LeftEdge, DriverLeads, local * 2 + 1);
        const double turn = (local == 0 || local == 3) ? 220.0 : 216.5;
        Trace(Dogleg(diode, input, turn));
        Trace({QPointF(176, RelayCentreY(i)), QPointF(197.4, RelayCentreY(i))});
    }
    AddFanout(U2, Qt::RightEdge, DriverLeads, {{0, 7}});
    AddFanout(U3, Qt::RightEdge, DriverLeads, {{0, 7}});
}

void TBoardLayout::RouteControllerBuses() {
    for (int j = 0; j < 8; ++j) {
        const QPointF from = Lead(U1, Qt::LeftEdge, U1Leads, j * 2);
        const QPointF to = Lead(U2, Qt::RightEdge, DriverLeads, j);
        Trace(Chamfered(SBendH(from, to, 294.0), 1.0));
    }
    for (int j = 0; j < 8; ++j) {
        const QPointF from = Lead(U1, Qt::LeftEdge, U1Leads, 16 + j);
        const QPointF to = Lead(U3, Qt::RightEdge, DriverLeads, j);
        Trace(Dogleg(from, to, 262.0 + 2.2 * j));
    }
    for (int j = 0; j < 10; ++j) {
        const QPointF from = Lead(U4, Qt::TopEdge, U4Leads, 6 + j);
        const QPointF to = Lead(U1, Qt::BottomEdge, U1Leads, j);
        Trace(Chamfered(SBendV(from, to, 292.0), 1.0));
    }
    for (int j = 0; j < 7; ++j) {
        const QPointF from = Lead(U1, Qt::RightEdge, U1Leads, j);
        const QPointF to = Lead(U7, Qt::BottomEdge, U7Leads, j);
        Trace(Chamfered({from, QPointF(to.x(), from.y()), to}, 2.5));
    }
    // Further right pins come out lower, so the verticals up to the EEPROM never cross.
    for (int j = 0; j < 4; ++j) {
        const QPointF from = Lead(U1, Qt::RightEdge, U1Leads, 19 + j);
        const QPointF to = Lead(U5, Qt::BottomEdge, 4, j);
        Trace(Chamfered({from, QPointF(to.x(), from.y()), to}, 2.0), 0.9);
    }
    AddFanout(U1, Qt::TopEdge, U1Leads, {{0, 14}});
    AddFanout(U1, Qt::RightEdge, U1Leads, {{0, 6}, {19, 22}});
    AddFanout(U1, Qt::BottomEdge, U1Leads, {{0, 9}});
    AddFanout(U4, Qt::LeftEdge, U4Leads, {});
    AddFanout(U4, Qt::TopEdge, U4Leads, {{6, 15}});
    AddFanout(U5, Qt::TopEdge, 4, {});
    AddFanout(U10, Qt::TopEdge, 7, {{4, 6}});
    AddFanout(U10, Qt::BottomEdge, 7, {{5, 6}});
}

void TBoardLayout::RouteHostInterface() {
    for (int j = 0; j < 7; ++j) {
        const QPointF finger(FingerX(11 + j) + FingerWidth / 2, 390);
        const QPointF pin = Lead(U4, Qt::BottomEdge, U4Leads, 2 * j + 1);
        Trace(Chamfered(SBendV(finger, pin, 381.0), 1.0), 1.0);
    }
    for (int j = 0; j < 11; ++j) {
        const QPointF finger(FingerX(j) + FingerWidth / 2, 390);
        const QPointF via(finger.x(), 376 - (j % 2) * 5);
        Trace({finger, via}, j % 3 == 0 ? 2.0 : 1.0);
        Vias.push_back(via);
    }
    for (int j = 0; j < 8; ++j) {
        const QPointF from = Lead(U4, Qt::RightEdge, U4Leads, 3 + j);
        const QPointF to(328 + (j % 3) * 7, from.y());
        Trace({from, to}, 0.9);
        Vias.push_back(to);
    }
}

void TBoardLayout::RouteInputs() {
    for (int j = 0; j < OptoLeads; ++j) {
        const QPointF from = Lead(U9, Qt::BottomEdge, OptoLeads, j);
        const QPointF to = Lead(U1, Qt::TopEdge, U1Leads, 2 * j);
        Trace(Chamfered(SBendV(from, to, 72.0), 1.0));
    }
    for (int i = 0; i < DipPositions; ++i) {
        const QPointF leg(DipSlotX(i), SW1.bottom() + 2.0);
        const QPointF pin = Lead(U7, Qt::TopEdge, U7Leads, i);
        Trace(Chamfered(SBendV(leg, pin, 73.0), 1.0));
    }
    // The common side of every switch goes straight down to ground.
    for (int i = 0; i < DipPositions; ++i) {
        const QPointF leg(DipSlotX(i), SW1.top() - 2.0);
        const QPointF via = leg + QPointF(i % 2 == 0 ? -1.9 : 1.9, -2.4);
        Trace({leg, via}, 0.9);
        Vias.push_back(via);
    }
    AddFanout(U8, Qt::TopEdge, OptoLeads, {});
    AddFanout(U9, Qt::TopEdge, OptoLeads, {});
    AddFanout(U8, Qt::BottomEdge, OptoLeads, {});
    AddFanout(U7, Qt::TopEdge, U7Leads, {{0, 7}});
    AddFanout(U7, Qt::BottomEdge, U7Leads, {{0, 6}});
}

void TBoardLayout::RoutePower() {
    Trace(Chamfered({QPointF(480, 294), QPointF(480, 268), QPointF(452, 240), QPointF(452, 208)},
                    0.1),
          4.0);
    for (int i = 0; i < 3; ++i)
        Vias.push_back(QPointF(446 + i * 6, 206));
    Trace(Chamfered({QPointF(487.2, 316), QPointF(492, 312), QPointF(540, 312)}, 0.1), 3.0);
    Trace({QPointF(472.8, 316), QPointF(472.8, 334), QPointF(420, 334)}, 2.0);
    for (int i = 0; i < 2; ++i) {
        const QPointF led(545.4, 250 + 12 * i);
        const QPointF pin = Lead(U10, Qt::BottomEdge, 7, 5 + i);
        Trace(Chamfered({pin, QPointF(pin.x(), led.y()), led}, 2.5));
    }
}

// The programming header talks to the configuration chip; the leftmost pin takes the top row.
void TBoardLayout::RouteConfiguration() {
    for (int j = 0; j < 2; ++j) {
        const QPointF pin = Lead(U10, Qt::TopEdge, 7, 4 + j);
        const double row = J2.top() + J2.height() / 5 * (j + 0.5);
        Trace(Chamfered({pin, QPointF(pin.x(), row), QPointF(J2.left() + 1, row)}, 2.5), 0.9);
    }
    for (int r = 2; r < 5; ++r) {
        const double row = J2.top() + J2.height() / 5 * (r + 0.5);
        const QPointF via(J2.left() - 6 - (r % 2) * 5, row);
        Trace({QPointF(J2.left() + 1, row), via}, 0.9);
        Vias.push_back(via);
    }
    AddChip(QRectF(396, 296, 24, 12), TLeads::TopBottom, 4,
            {QStringLiteral("K8R"), QStringLiteral("311")});
    Label(QPointF(428, 302), QStringLiteral("U11"), 4.8);
    AddFanout(QRectF(396, 296, 24, 12), Qt::TopEdge, 4, {});
    AddFanout(QRectF(396, 296, 24, 12), Qt::BottomEdge, 4, {});
}

// Rows of ground vias along the free edges, as a real four-layer card has.
void TBoardLayout::AddStitching() {
    for (double y = 64; y <= 338; y += 9)
        if (std::abs(y - 250) > 14) Vias.push_back(QPointF(584, y));
    for (double x = 328; x <= 456; x += 9)
        Vias.push_back(QPointF(x, 379.5));
    for (double x = 460; x <= 560; x += 9)
        Vias.push_back(QPointF(x, 27.5));
    const QPointF testPoints[] = {{404, 244}, {416, 244}, {428, 244}};
    for (int i = 0; i < 3; ++i) {
        const QPointF point = testPoints[i];
        AddPart(QRectF(point.x() - 2, point.y() - 2, 4, 4), 0.2,
                [point](TPartPainter& parts) { parts.Via(point, false); });
        Label(point + QPointF(0, 7), QStringLiteral("TP%1").arg(i + 1), 3.8);
    }
}

QPainterPath TBoardLayout::CardOutline() const {
    const double bottom = 384, tabBottom = 411, tabLeft = 184, tabRight = 286;
    const double keyLeft = FingerX(10) + FingerWidth + 2.6, keyRight = FingerX(11) - 2.6;
    QPainterPath tab;
    tab.moveTo(tabLeft, bottom - 1);
    tab.lineTo(tabLeft, tabBottom - 3);
    tab.lineTo(tabLeft + 3, tabBottom);
    tab.lineTo(tabRight - 3, tabBottom);
    tab.lineTo(tabRight, tabBottom - 3);
    tab.lineTo(tabRight, bottom - 1);
    tab.closeSubpath();
    QPainterPath key;
    key.addRoundedRect(QRectF(keyLeft, 393, keyRight - keyLeft, 30), 1.5, 1.5);
    QPainterPath board;
    board.addRoundedRect(QRectF(100, 22, 490, bottom - 22), 3, 3);
    QPainterPath notch;
    notch.addRect(QRectF(96, 376, 54, 20));
    return board.subtracted(notch).united(tab.subtracted(key)).simplified();
}

QPainterPath TBoardLayout::BracketOutline() const {
    QPainterPath bracket;
    bracket.addRoundedRect(QRectF(12, 12, 96, 392), 2, 2);
    QPainterPath lip;
    lip.addRoundedRect(QRectF(4, 5, 104, 15), 2, 2);
    QPainterPath slot;
    slot.addRoundedRect(QRectF(-2, 9.5, 18, 6.5), 3.2, 3.2);
    QPainterPath tongue;
    tongue.moveTo(46, 400);
    tongue.lineTo(46, 414);
    tongue.lineTo(52, 421);
    tongue.lineTo(66, 421);
    tongue.lineTo(72, 414);
    tongue.lineTo(72, 400);
    tongue.closeSubpath();
    return bracket.united(lip.subtracted(slot)).united(tongue).simplified();
}

void TBoardLayout::CastShadow(QImage& canvas, const QPainterPath& shape, QPointF offset,
                              double blur, double strength) const {
    QImage mask = EmptyMask(canvas);
    {
        QPainter painter(&mask);
        Prepare(painter, Supersample);
        painter.translate(offset);
        painter.fillPath(shape, QColor(255, 255, 255));
    }
    TPhotoFinish::Blur(mask, int(std::lround(blur * Supersample / 2.0)));
    TPhotoFinish::Darken(canvas, mask, strength);
}

void TBoardLayout::DrawBackground(QImage& canvas) const {
    QPainter painter(&canvas);
    Prepare(painter, Supersample);
    QRadialGradient paper(QPointF(Width * 0.45, Height * 0.35), Width * 0.8);
    paper.setColorAt(0.0, Paper.lighter(102));
    paper.setColorAt(1.0, Paper.darker(104));
    painter.fillRect(QRectF(0, 0, Width, Height), paper);
}

void TBoardLayout::DrawCopper(QImage& canvas) const {
    QPainter painter(&canvas);
    Prepare(painter, Supersample);
    const QPainterPath card = CardOutline();
    painter.setClipPath(card);
    painter.fillPath(card, Laminate);
    QPainterPathStroker edge;
    edge.setWidth(5.0);
    QPainterPath pour = card.subtracted(edge.createStroke(card));
    QPainterPath fingers;
    fingers.addRect(QRectF(170, 381, 130, 40));
    painter.fillPath(pour.subtracted(fingers), Pour);
    for (const TTrace& trace : Traces) {
        painter.setPen(
            QPen(Laminate, trace.Width + 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(trace.Points);
    }
    for (const QPointF& via : Vias) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Laminate);
        painter.drawEllipse(via, 3.0, 3.0);
    }
    for (const TTrace& trace : Traces) {
        painter.setPen(QPen(Copper, trace.Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(trace.Points);
    }
    TPartPainter parts(painter);
    for (const QPointF& via : Vias)
        parts.Via(via, true);
}

void TBoardLayout::DrawSilkscreen(QImage& canvas) const {
    QPainter painter(&canvas);
    Prepare(painter, Supersample);
    TPartPainter parts(painter);
    const QColor ink = TPartPainter::Silkscreen();
    painter.setPen(QPen(ink, 0.7));
    painter.setBrush(Qt::NoBrush);
    for (const QRectF& outline : Outlines)
        painter.drawRect(outline);
    for (const TLabel& label : Labels) {
        if (label.Degrees != 0) {
            parts.RotatedText(label.Box.center(), label.Text, label.Size, ink, label.Degrees, true);
            continue;
        }
        parts.Text(label.Box, label.Text, label.Size, ink, label.Flags, true);
    }
    parts.Text(QRectF(330, 347, 130, 18), QStringLiteral("TARVO-K8"), 13.0, ink,
               Qt::AlignLeft | Qt::AlignVCenter, true);
    parts.Text(QRectF(331, 364, 130, 10), QStringLiteral("REV B   94V-0   2417"), 4.8, ink,
               Qt::AlignLeft | Qt::AlignVCenter, true);
    painter.setPen(QPen(ink, 0.9));
    painter.drawRect(QRectF(440, 350, 13, 13));
    parts.Text(QRectF(440, 350, 13, 13), QStringLiteral("K8"), 5.4, ink, Qt::AlignCenter, true);
}

void TBoardLayout::DrawFingers(QImage& canvas) const {
    QPainter painter(&canvas);
    Prepare(painter, Supersample);
    TPartPainter parts(painter);
    for (int i = 0; i < 18; ++i) {
        const bool shortFinger = i == 0 || i == 16;
        const QRectF finger(FingerX(i), shortFinger ? 394 : 389, FingerWidth,
                            shortFinger ? 14.5 : 19.5);
        QLinearGradient gold(finger.topLeft(), finger.bottomLeft());
        gold.setColorAt(0.0, QColor(232, 190, 100));
        gold.setColorAt(0.35, QColor(252, 226, 150));
        gold.setColorAt(0.6, QColor(222, 176, 84));
        gold.setColorAt(1.0, QColor(196, 148, 60));
        painter.setPen(Qt::NoPen);
        painter.setBrush(gold);
        painter.drawRoundedRect(finger, 1.2, 1.2);
    }
}

void TBoardLayout::DrawParts(QImage& canvas) const {
    QPainter painter(&canvas);
    Prepare(painter, Supersample);
    TPartPainter parts(painter);
    parts.MountingHole(QPointF(572, 44), 5.5, Paper.darker(110));
    parts.MountingHole(QPointF(576, 366), 5.5, Paper.darker(110));
    parts.Fiducial(QPointF(300, 28));
    parts.Fiducial(QPointF(580, 330));
    parts.Fiducial(QPointF(200, 364));
    for (int i = 0; i < 3; ++i)
        parts.Pad(QRectF(430 + i * 5.5, 280, 2.6, 3.6)); // SOT-23 left unpopulated
    for (const TPart& part : Parts)
        part.Draw(parts);
}

void TBoardLayout::DrawBracket(QImage& canvas) const {
    const QPainterPath bracket = BracketOutline();
    CastShadow(canvas, bracket, QPointF(4.5, 2.5), 6.0, 0.55);
    QPainter painter(&canvas);
    Prepare(painter, Supersample);
    QLinearGradient steel(QPointF(4, 0), QPointF(108, 0));
    steel.setColorAt(0.0, QColor(200, 202, 206));
    steel.setColorAt(0.55, QColor(178, 180, 185));
    steel.setColorAt(0.9, QColor(150, 152, 158));
    steel.setColorAt(1.0, QColor(112, 114, 120));
    painter.setPen(QPen(QColor(96, 98, 104), 0.8));
    painter.setBrush(steel);
    painter.drawPath(bracket);
    painter.setClipPath(bracket);
    const TNoise grain(4242);
    for (double x = 4; x < 110; x += 0.5) {
        const int shade = grain.At(int(x * 2), 0) < 0.5 ? 0 : 255;
        painter.setPen(
            QPen(QColor(shade, shade, shade, 6 + int(grain.At(int(x * 2), 1) * 12)), 0.5));
        painter.drawLine(QPointF(x, 0), QPointF(x, Height));
    }
    painter.setPen(QPen(QColor(255, 255, 255, 90), 1.0));
    painter.drawLine(QPointF(6, 20.5), QPointF(106, 20.5));
    painter.setPen(QPen(QColor(0, 0, 0, 70), 1.2));
    painter.drawLine(QPointF(102, 22), QPointF(102, 400));
    painter.setClipping(false);
    TPartPainter parts(painter);
    parts.DSubMale(Flange, 19, 18);
}

// The cut edge of the board catches the light along its top and falls into shade below.
void TBoardLayout::DrawEdges(QImage& canvas) const {
    QPainter painter(&canvas);
    Prepare(painter, Supersample);
    const QPainterPath card = CardOutline();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 70), 0.8));
    painter.drawPath(card.translated(-0.3, -0.3));
    painter.setPen(QPen(QColor(0, 30, 10, 110), 0.9));
    painter.drawPath(card.translated(0.4, 0.5));
}

QImage TBoardLayout::PcbMask() const {
    QImage mask(Width * Supersample, Height * Supersample, QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter painter(&mask);
    Prepare(painter, Supersample);
    painter.fillPath(CardOutline(), QColor(255, 255, 255));
    return mask;
}

QImage TBoardLayout::Render() const {
    QImage canvas(Width * Supersample, Height * Supersample, QImage::Format_RGB32);
    // 72 dpi makes a font point one photo pixel (before supersampling).
    canvas.setDotsPerMeterX(2835);
    canvas.setDotsPerMeterY(2835);
    DrawBackground(canvas);
    QPainterPath silhouette = CardOutline().united(BracketOutline());
    CastShadow(canvas, silhouette, QPointF(3.5, 5.5), 9.0, 0.30);
    CastShadow(canvas, silhouette, QPointF(1.0, 1.5), 2.0, 0.25);
    DrawCopper(canvas);
    DrawSilkscreen(canvas);
    TPhotoFinish::TexturePcb(canvas, PcbMask(), Supersample, 9001);
    DrawEdges(canvas);
    DrawFingers(canvas);
    std::map<double, QPainterPath> shadows;
    for (const TPart& part : Parts)
        shadows[part.Height].addPath(part.Footprint);
    for (const auto& [height, shape] : shadows)
        CastShadow(canvas, shape, QPointF(height * 0.45, height * 0.7), height * 0.55 + 0.8,
                   std::min(0.6, 0.3 + height * 0.03));
    DrawParts(canvas);
    DrawBracket(canvas);
    return canvas;
}

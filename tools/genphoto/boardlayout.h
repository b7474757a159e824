#pragma once

#include <QImage>
#include <QPainterPath>
#include <QPolygonF>
#include <QStringList>

#include "partpainter.h"

#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

// Where everything sits on the card and in which order it is put into the picture. Coordinates
// are pixels of the final 600 x 425 photo; rendering happens at `supersample` times that size.
class TBoardLayout {
  public:
    static constexpr int Width = 600;
    static constexpr int Height = 425;

    explicit TBoardLayout(int supersample);
    QImage Render() const;

  private:
    struct TTrace {
        QPolygonF Points;
        double Width;
    };
    struct TPart {
        QPainterPath Footprint;
        double Height; // how far it stands off the board: sets its shadow
        std::function<void(TPartPainter&)> Draw;
    };
    struct TLabel {
        QRectF Box;
        QString Text;
        double Size;
        int Flags;
        double Degrees;
    };

    void PlaceRelays();
    void PlaceLogic();
    void PlaceInputSection();
    void PlacePower();
    void PlacePassives();
    void RouteRelayDrivers();
    void RouteControllerBuses();
    void RouteHostInterface();
    void RouteInputs();
    void RoutePower();
    // Short stubs to vias on the leads that no named route uses.
    void AddFanout(const QRectF& body, Qt::Edge side, int leadsPerSide,
                   std::initializer_list<std::pair<int, int>> routed);
    void RouteConfiguration();
    void AddStitching();
    void DrawEdges(QImage& canvas) const;
    void AddChip(const QRectF& body, TPartPainter::TLeads leads, int leadsPerSide,
                 const QStringList& marking, bool vertical = false);
    void AddPart(const QRectF& footprint, double height, std::function<void(TPartPainter&)> draw);
    void Label(QPointF centre, const QString& text, double size = 5.6, double degrees = 0);
    void Trace(const QPolygonF& points, double width = 1.0);

    QPainterPath CardOutline() const;
    QPainterPath BracketOutline() const;
    void CastShadow(QImage& canvas, const QPainterPath& shape, QPointF offset, double blur,
                    double strength) const;
    void DrawBackground(QImage& canvas) const;
    void DrawCopper(QImage& canvas) const;
    void DrawSilkscreen(QImage& canvas) const;
    void DrawFingers(QImage& canvas) const;
    void DrawParts(QImage& canvas) const;
    void DrawBracket(QImage& canvas) const;
    QImage PcbMask() const;

    int Supersample;
    std::vector<TTrace> Traces;
    std::vector<QPointF> Vias;
    std::vector<TPart> Parts;
    std::vector<TLabel> Labels;
    std::vector<QRectF> Outlines;
};

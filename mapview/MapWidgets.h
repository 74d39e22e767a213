// The map window's own small widgets: the viewport that hands every pointer
// event to the map window, the information windows over it and the buttons
// along its top edge.
#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QWidget>

namespace mapview {

class frmMap;

// The viewport: paints the viewport picture at one map pixel per logical
// pixel and hands every pointer event to the map window.
class MapViewport : public QWidget {
    Q_OBJECT
public:
    MapViewport(frmMap& map, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void leaveEvent(QEvent*) override;
    void wheelEvent(QWheelEvent*) override;

private:
    frmMap& m_map;
};

// An information window over the viewport; a click on it hides them all.
class InformationWindow : public QWidget {
    Q_OBJECT
public:
    explicit InformationWindow(QWidget* parent);
    void SetImage(const QImage& image);
    const QImage& Image() const { return m_image; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;

private:
    QImage m_image;
};

// The small buttons along the viewport's top edge.
class MapButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Glyph { Close, Maximise, Minimise };
    MapButton(Glyph glyph, QWidget* parent);
    QSize sizeHint() const override { return {24, 20}; }

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    Glyph m_glyph;
    bool m_hover = false;
};

} // namespace mapview

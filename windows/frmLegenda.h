// The legend: a small borderless tool window owned by the map window that
// explains the profession colours and the map's markers. Drawn once; shown
// and hidden by the control panel's legend switch; dragged by its body.
#pragma once

#include "windows/WindowDrag.h"
#include "world/World.h"

#include <QImage>
#include <QWidget>

#include <functional>

class QAbstractButton;

class frmLegenda : public QWidget {
    Q_OBJECT
public:
    frmLegenda(const World& world, QWidget* owner);
    ~frmLegenda() override;

    // Called when the close button hid the window (the panel's switch goes off).
    std::function<void()> onClosed;

    // The drawing of the profession colours and marker rows, at the pixel
    // ratio it was made for.
    const QImage& picLegenda() const { return m_picture; }
    QRect PictureRect() const;
    QAbstractButton* cmdClose() const { return m_close; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    void Draw(qreal devicePixelRatio);

    const World& m_world;
    int m_pictureWidth = 0;
    QImage m_picture;
    QAbstractButton* m_close = nullptr;
    WindowDrag m_drag;
};

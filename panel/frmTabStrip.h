// The widgets of the panel's tab strip: a tab label drawn as a folder tab in
// its tab's colour, and the show box that sits on it.
#pragma once

#include <QCheckBox>
#include <QColor>
#include <QString>
#include <QWidget>

#include <functional>

// A tab label: a rounded-top folder tab in its tab's colour, bright when
// active, dimmed behind. Clicks are reported to the panel.
class TabLabel : public QWidget {
public:
    TabLabel(int index, QColor colour, QWidget* parent, std::function<void(int)> onClick);
    void setText(const QString& text);
    void setActive(bool active);
    bool active() const { return m_active; }
    void setColour(QColor colour);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    int m_index;
    QColor m_colour;
    std::function<void(int)> m_onClick;
    QString m_text;
    bool m_active = false;
};

// A tab's show box: a dark box framed and ticked in the tab's colour, so
// that its state reads the same on the bright active tab and the dimmed ones.
class ShowBox : public QCheckBox {
public:
    ShowBox(QColor colour, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;
    bool hitButton(const QPoint&) const override { return true; }

private:
    QColor m_colour;
};

// How much of a text a label or line edit shows: the pixels where the widget
// showing `text` differs from it showing nothing, grabbed at `width` (no
// focus, so no cursor is drawn). The same text in a far wider widget is the
// oracle a cut text falls short of.
#pragma once

#include <QImage>
#include <QString>

template <class Widget>
int TextPixels(Widget* widget, const QString& text, int width)
{
    widget->resize(width, widget->height());
    widget->setText(QString());
    const QImage empty = widget->grab().toImage();
    widget->setText(text);
    const QImage shown = widget->grab().toImage();
    int count = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            count += shown.pixel(x, y) != empty.pixel(x, y) ? 1 : 0;
    return count;
}

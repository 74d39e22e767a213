// The about window: a drawn panel with the program's statement and two
// links, to the community's web site and a mail to the makers. A click
// anywhere else closes it. Created when opened, gone when closed.
#pragma once

#include "core/modLanguage.h"
#include "windows/Credits.h"

#include <QWidget>

#include <functional>

class frmInformation : public QWidget {
    Q_OBJECT
public:
    frmInformation(const modLanguage::LanguageStrings& language, QWidget* owner);

    // Opens a web or mailto: address with the system's handler.
    std::function<void(const QString&)> openLink;

    // The link under the pointer (none when it is elsewhere).
    About::Link RememberedLink() const { return m_link; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;

private:
    About::Link m_link = About::Link::None;
};

// The control panel's popup menu window: borderless, drawn by the program,
// opened under one of the panel's menu titles. It holds the three menus,
// lays out the chosen one on every opening and reports the chosen row to
// the panel. A click anywhere else closes it.
#pragma once

#include "windows/PopupMenu.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include <functional>

class QLabel;

class frmPopupMenu : public QWidget {
    Q_OBJECT
public:
    // `owner`: the control panel, on which the open menu's title is framed.
    frmPopupMenu(const modLanguage::LanguageStrings& language, QWidget* owner);
    ~frmPopupMenu() override;

    // Stores the state a check box or option row shows when its menu opens.
    void SetValue(int menu, int entry, int value);
    // Lays out menu 0..2 and shows it under `title` (a child of the owner).
    void OpenMenu(int menu, QLabel* title);

    // Called with the menu and the entry when an enabled row is chosen.
    std::function<void(int menu, int entry)> onEntryClick;
    // Called with the global position of a press outside that closed the
    // popup (the owner may open another of its menus there).
    std::function<void(QPoint globalPos)> onPressOutside;

    int OpenedMenu() const { return m_menu; }
    int Highlighted() const { return m_highlighted; }
    bool Ready() const { return m_ready; }
    const PopupMenu::Menu& MenuAt(int menu) const { return m_menus[static_cast<std::size_t>(menu)]; }
    const PopupMenu::MenuLayout& Layout() const { return m_layout; }
    // The frame drawn round the open menu's title on the owner.
    QWidget* TitleFrame() const { return m_titleFrame; }
    // True when a press outside closed the menu a moment ago: the press on
    // the open menu's title that closed it must not open it again.
    bool ClosedJustNow(int menu) const;

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void leaveEvent(QEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void hideEvent(QHideEvent*) override;

private:
    void Highlight(int entry);
    void Choose(int entry);
    int FalseHoleWidth() const;

    PopupMenu::Menus m_menus;
    PopupMenu::MenuLayout m_layout;
    int m_menu = 0;
    int m_highlighted = -1;
    int m_pressed = -1;
    bool m_ready = false;
    QPointer<QLabel> m_title;
    QString m_titleStyle;
    QWidget* m_titleFrame = nullptr;
    int m_closedMenu = -1;
    QElapsedTimer m_closedAt;
};

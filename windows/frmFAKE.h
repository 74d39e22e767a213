// The program's one task-bar entry and what minimising and restoring it do.
// The entry is the control panel's own (the map window and the legend are
// tool windows owned by it and get none). Minimising the panel, from the task
// bar or through the map's minimise button, hides the map and the legend;
// restoring it shows the panel and the map again, and the legend only when
// the panel's legend switch is on.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class frmFAKE : public QObject {
    Q_OBJECT
public:
    // `legendSwitch` tells whether the panel's legend switch is on.
    frmFAKE(QWidget* panel, QWidget* map, QWidget* legend, std::function<bool()> legendSwitch);
    ~frmFAKE() override;

    // Minimises the program (the map window's minimise button).
    void Minimise();
    // True while the windows are hidden by a minimise.
    bool Minimised() const { return m_minimised; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnSizeChange();

    QPointer<QWidget> m_panel;
    QPointer<QWidget> m_map;
    QPointer<QWidget> m_legend;
    std::function<bool()> m_legendSwitch;
    bool m_minimised = false;
};

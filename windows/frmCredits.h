// The credits window: the projects Wayloom stands on, with their part in it,
// and a close button. Created when opened, gone when closed.
#pragma once

#include "core/modLanguage.h"

#include <QWidget>

class QPushButton;

class frmCredits : public QWidget {
    Q_OBJECT
public:
    frmCredits(const modLanguage::LanguageStrings& language, QWidget* owner);

    QWidget* picCredits() const { return m_picture; }
    QPushButton* cmdCancel() const { return m_cancel; }

private:
    QWidget* m_picture = nullptr;
    QPushButton* m_cancel = nullptr;
};

#include "windows/frmCredits.h"

#include "core/TextNumbers.h"
#include "windows/Credits.h"

#include <QPainter>
#include <QPushButton>

namespace {

const QColor kBackground(24, 26, 32);

class CreditsPicture : public QWidget {
public:
    explicit CreditsPicture(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("picCredits"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setCursor(Qt::ArrowCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), kBackground);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        Credits::DrawCredits(p, size(), Credits::InCreditsWindow,
                             {QColor(255, 219, 93), QColor(232, 226, 212), QColor(168, 164, 156)});
    }
};

} // namespace

frmCredits::frmCredits(const modLanguage::LanguageStrings& language, QWidget* owner) : QWidget(owner, Qt::Dialog)
{
    setObjectName(QStringLiteral("frmCredits"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(language(Text::CreditsTitle));
    const QSize picture = Credits::CreditsPictureSize();
    m_picture = new CreditsPicture(this);
    m_picture->setGeometry(0, 0, picture.width(), picture.height());
    m_cancel = new QPushButton(language(Text::Close), this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cancel->setDefault(true);
    const int buttonWidth = std::max(88, m_cancel->sizeHint().width());
    m_cancel->setGeometry(picture.width() - buttonWidth - 12, picture.height() + 8, buttonWidth, 26);
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);
    setFixedSize(picture.width(), picture.height() + 42);
}

// The about panel's links.
#include "windows/Credits.h"

#include <gtest/gtest.h>

namespace {

TEST(About, LinksAndTheirAddresses)
{
    struct Case {
        const char* name;
        QPoint point;
        About::Link link;
    };
    const Case cases[] = {
        {"guild link corner", QPoint(22, 360), About::Link::Guild},
        {"mail link", About::MailLinkRect.center(), About::Link::Mail},
        {"just below the mail link", QPoint(60, 423), About::Link::None},
        {"left of the links", QPoint(21, 365), About::Link::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(About::LinkAt(c.point), c.link) << c.name;
    EXPECT_TRUE(About::MailLinkText().startsWith(QStringLiteral("Mail to ")));
}

} // namespace

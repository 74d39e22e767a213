// The player's hand of the release tests: loaded into a program of the
// unpacked archive with LD_PRELOAD, it clicks through the program's windows as
// a player would, once the program's event loop runs. WAYLOOM_TEST_PLAY says
// what to do:
//   quit    Wayloom: the map window's close button.
//   update  Update: clears "launch Wayloom afterwards", Next on steps 1 and 3,
//           Finish on step 5; the error page or "no updates" ends the program
//           with exit status 3 after printing the page.
// A program still running after two minutes ends with exit status 4. Nothing
// of this is part of the shipped programs.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace {

template <typename T>
T* Find(const char* name)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        for (T* widget : window->findChildren<T*>(QLatin1String(name)))
            if (widget->isVisible())
                return widget;
    return nullptr;
}

QString Text(const char* label)
{
    const QLabel* l = Find<QLabel>(label);
    return l ? l->text() : QString();
}

bool Click(const char* button)
{
    QAbstractButton* b = Find<QAbstractButton>(button);
    if (!b || !b->isEnabled())
        return false;
    b->click();
    return true;
}

void End(int status, const QString& why)
{
    std::fprintf(stderr, "player: %s\n", qPrintable(why));
    QCoreApplication::exit(status);
}

void PlayUpdate()
{
    if (auto* launch = Find<QCheckBox>("chkLaunchWayloomAfterUpdate"))
        launch->setChecked(false);
    const QString step = Text("lblStep");
    if (step == QLatin1String("ERROR") || Text("lblStepInfo") == QLatin1String("No updates available.")) {
        End(3, step + QStringLiteral(": ") + Text("lblInfo"));
        return;
    }
    // A click while the page still works is ignored by the wizard; the next
    // tick tries again.
    if (step == QLatin1String("Step 1") || step == QLatin1String("Step 3") || step == QLatin1String("Step 5"))
        Click("cmdNext");
}

void Play()
{
    const QByteArray what = qgetenv("WAYLOOM_TEST_PLAY");
    auto* ticks = new QTimer(qApp);
    QObject::connect(ticks, &QTimer::timeout, qApp, [what] {
        // Wayloom lets events run while it starts; a quit then would come
        // before its event loop.
        if (QThread::currentThread()->loopLevel() < 1)
            return;
        if (what == "quit")
            Click("cmdClose");
        else if (what == "update")
            PlayUpdate();
    });
    ticks->start(100);
    QTimer::singleShot(120000, qApp, [] { End(4, QStringLiteral("still running after two minutes")); });
}

void Arm()
{
    // Called while the application object is being made: play once it is.
    QMetaObject::invokeMethod(qApp, &Play, Qt::QueuedConnection);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(Arm)

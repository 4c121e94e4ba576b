#include "platform/ui/DefaultInstance.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A window stand-in: the recipe needs nothing of a widget, and without
// widgets each case can make and end its own application object.
class Window : public QObject {
public:
    static inline int made = 0;
    static inline int deleted = 0;
    static inline int deletedWithoutApplication = 0;
    std::function<void()> onEvent; // a handler of the window's own

    Window() { ++made; }
    ~Window() override
    {
        ++deleted;
        if (!QCoreApplication::instance())
            ++deletedWithoutApplication;
    }
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::User && onEvent) {
            onEvent();
            return true;
        }
        return QObject::event(event);
    }
};
using Instance = DefaultInstance<Window>;

int argc = 1;
char name[] = "default_instance_test";
char* argv[] = {name, nullptr};

class DefaultInstanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app = std::make_unique<QCoreApplication>(argc, argv);
        Window::made = Window::deleted = Window::deletedWithoutApplication = 0;
    }
    void TearDown() override { app.reset(); }

    static void runEventLoop()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    std::unique_ptr<QCoreApplication> app;
};

TEST_F(DefaultInstanceTest, MadeOnFirstUseOnlyAndFoundWithoutBeingMade)
{
    EXPECT_EQ(Instance::find(), nullptr);
    EXPECT_EQ(Instance::find(), nullptr);
    EXPECT_EQ(Window::made, 0) << "finding never makes one";

    Window& first = Instance::get();
    EXPECT_EQ(&Instance::get(), &first);
    EXPECT_EQ(Instance::find(), &first);
    EXPECT_EQ(Window::made, 1);

    // Deleted by anyone, it is no longer found, and the next use makes another.
    delete &first;
    EXPECT_EQ(Instance::find(), nullptr);
    Instance::get();
    EXPECT_EQ(Window::made, 2);
}

TEST_F(DefaultInstanceTest, DiscardForgetsAtOnceAndDeletesOnlyBackInTheEventLoop)
{
    // Discarded from its own handler, which goes on using the window.
    Window& window = Instance::get();
    const QPointer<Window> alive(&window);
    bool usableAfterDiscard = false;
    window.onEvent = [&window, &usableAfterDiscard] {
        Instance::discard(&window);
        usableAfterDiscard = Instance::find() == nullptr && window.onEvent != nullptr;
    };
    QEvent own(QEvent::User);
    QCoreApplication::sendEvent(&window, &own);
    EXPECT_TRUE(usableAfterDiscard) << "forgotten at once, still whole under its handler";
    ASSERT_TRUE(alive);

    // The next use makes a new window while the old one waits for deletion.
    Window& next = Instance::get();
    EXPECT_NE(&next, alive.data());
    runEventLoop();
    EXPECT_FALSE(alive);
    EXPECT_EQ(Instance::find(), &next);

    // Discarding a window that is no longer the default leaves the default alone.
    Window& stray = *new Window;
    const QPointer<Window> strayAlive(&stray);
    Instance::discard(&stray);
    Instance::discard(nullptr);
    runEventLoop();
    EXPECT_FALSE(strayAlive);
    EXPECT_EQ(Instance::find(), &next);
}

TEST_F(DefaultInstanceTest, AForgottenWindowLivesUntilItIsDiscarded)
{
    Window& window = Instance::get();
    const QPointer<Window> alive(&window);
    Instance::forget(&window);
    EXPECT_EQ(Instance::find(), nullptr);
    runEventLoop();
    ASSERT_TRUE(alive) << "forgetting deletes nothing";
    Instance::discard(&window);
    runEventLoop();
    EXPECT_FALSE(alive);
}

TEST_F(DefaultInstanceTest, AtExitTheWindowsGoBeforeTheApplicationObject)
{
    // The default one, one forgotten and one discarded while no event loop
    // ran any more: all go while the application object still exists, for
    // every application object of the process.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Window::made = Window::deleted = Window::deletedWithoutApplication = 0;
        Window& forgotten = Instance::get();
        Instance::forget(&forgotten);
        Window& discarded = Instance::get();
        Instance::discard(&discarded);
        Instance::get();
        ASSERT_EQ(Window::made, 3);
        app.reset();
        EXPECT_EQ(Window::deleted, 3);
        EXPECT_EQ(Window::deletedWithoutApplication, 0);
        EXPECT_EQ(Instance::find(), nullptr);
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
}

} // namespace

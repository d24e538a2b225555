// Tests of the greeter as its user meets it, through VorlaLib's test driver: a headless screen
// with a virtual clock, where the test clicks, types, waits and compares pictures.
#include <vorla/VorlaLib.h>
#include <platform/testing/driver.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace driver = vorla::testing;

// What the test uses of main.cpp.
namespace app {
extern VLWindow window;
extern VLEditBox name;
extern VLLabel greeting;
bool Open();
} // namespace app

namespace {

class GreeterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        driver::Reset(); // a fresh headless screen, the clock at 0
        VorlaInitialize(nullptr, GetModuleHandleA(nullptr));
        ASSERT_TRUE(app::Open());
        handle = GetActiveWindow();
        driver::Pump();
    }
    void TearDown() override { app::window.Clear(); }

    std::string Greeting()
    {
        char text[256] = {};
        app::greeting.GetText(text, 255);
        return text;
    }
    void TypeNameAndGreet(const char *typed)
    {
        driver::Click(handle, 150, 25); // into the name box
        driver::TypeText(typed);
        driver::Click(handle, 270, 25); // the Greet button
        driver::Pump();
    }

    HWND handle = nullptr;
};

TEST_F(GreeterTest, GreetsTheTypedNameAndLooksAsDrawn)
{
    TypeNameAndGreet("World");
    EXPECT_EQ(Greeting(), "Hello, World!");

    std::string message;
    EXPECT_TRUE(driver::MatchesGolden(driver::Snapshot(handle), "greeter_hello", &message)) << message;
}

TEST_F(GreeterTest, AsksForANameWhenNoneWasTyped)
{
    driver::Click(handle, 270, 25);
    EXPECT_EQ(Greeting(), "Please type your name first.");
}

TEST_F(GreeterTest, TheGreetingFadesAfterThreeSeconds)
{
    TypeNameAndGreet("Ada");
    driver::Advance(2800);
    EXPECT_EQ(Greeting(), "Hello, Ada!");
    driver::Advance(400);
    EXPECT_EQ(Greeting(), "");
    // Nothing is left of the text on the screen either: the greeting's row is background only.
    driver::Image picture = driver::Snapshot(handle);
    const uint32_t background = picture.At(2, 70);
    EXPECT_EQ(picture.Count(background, 12, 60, 306, 84), 294 * 24);
}

TEST_F(GreeterTest, ANewGreetingStartsItsTimeAgain)
{
    TypeNameAndGreet("Ada");
    driver::Advance(2000);
    driver::Click(handle, 270, 25);
    driver::Advance(2000);
    EXPECT_EQ(Greeting(), "Hello, Ada!") << "the second click gave the greeting three seconds more";
}

} // namespace

// The dialog that shows why the card could not be reached at start.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <cstdlib>
#include <optional>
#include <string>

#include "receiver/CCardFailureReport.h"

namespace {

// Sets (or with nullopt removes) environment variables for one test and puts
// the old values back afterwards.
class ScopedEnv {
  public:
    void Set(const char* name, std::optional<std::string> value) {
        const char* old = std::getenv(name);
        saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
        Apply(name, value);
    }
    ~ScopedEnv() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) Apply(it->first, it->second);
    }

  private:
    static void Apply(const char* name, const std::optional<std::string>& value) {
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

}  // namespace

TEST(CardFailureReport, DialogOnlyWhereSomeoneCanCloseIt) {
    struct Case {
        std::optional<std::string> display, wayland, platform;
        bool expected;
    };
    const Case cases[] = {
        {":0", std::nullopt, std::nullopt, true},
        {std::nullopt, "wayland-0", std::nullopt, true},
        {":0", std::nullopt, "xcb", true},
        {std::nullopt, std::nullopt, std::nullopt, false},
        {"", "", std::nullopt, false},
        {":0", std::nullopt, "offscreen", false},
        {":0", "wayland-0", "minimal", false},
    };
    for (const Case& c : cases) {
        ScopedEnv env;
        env.Set("DISPLAY", c.display);
        env.Set("WAYLAND_DISPLAY", c.wayland);
        env.Set("QT_QPA_PLATFORM", c.platform);
        EXPECT_EQ(CCardFailureReport::DisplayAvailable(), c.expected)
            << "DISPLAY " << c.display.value_or("-") << " WAYLAND_DISPLAY "
            << c.wayland.value_or("-") << " platform " << c.platform.value_or("-");
    }
}

TEST(CardFailureReport, BoxShowsTheLibraryMessageWithTheStopIconOnTop) {
    const QString message = QStringLiteral(
        "Registry error: No valid path entry for NVDVBSrv !\n\nDVB Client Application will be "
        "closed.");
    const auto box = CCardFailureReport::MakeBox(message);
    EXPECT_EQ(box->text(), message);
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

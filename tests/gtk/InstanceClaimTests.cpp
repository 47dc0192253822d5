#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "GtkTestSupport.h"
#include "TestForm.h"
#include "platform/InstanceClaim.h"

namespace zavi {
namespace {

using namespace std::chrono_literals;

// Each test has a session folder of its own, so it sees no program's claim but its own.
class InstanceClaimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_saved = g_getenv("XDG_RUNTIME_DIR") ? g_getenv("XDG_RUNTIME_DIR") : "";
        char folder[] = "/tmp/zavi-claim-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        m_folder = folder;
        g_setenv("XDG_RUNTIME_DIR", m_folder.c_str(), TRUE);
    }
    void TearDown() override {
        if (m_saved.empty()) {
            g_unsetenv("XDG_RUNTIME_DIR");
        } else {
            g_setenv("XDG_RUNTIME_DIR", m_saved.c_str(), TRUE);
        }
        GDir* dir = g_dir_open(m_folder.c_str(), 0, nullptr);
        while (const char* entry = dir ? g_dir_read_name(dir) : nullptr) {
            unlink((m_folder + "/" + entry).c_str());
        }
        if (dir != nullptr) {
            g_dir_close(dir);
        }
        rmdir(m_folder.c_str());
    }
    // Where the claim of this name lives: in the session folder, one per display.
    std::string ClaimFile(const char* name) const {
        return m_folder + "/" + name + "-" + gdk_display_get_name(gdk_display_get_default()) +
               ".lock";
    }

    std::string m_folder;
    std::string m_saved;
};

TEST_F(InstanceClaimTest, TheFirstHoldsItAndASecondGetsItOnlyOnceTheFirstHasGone) {
    auto first = std::make_unique<InstanceClaim>("VLZaviRadio.TestClaim");
    ASSERT_TRUE(first->Held());
    EXPECT_TRUE(g_file_test(ClaimFile("VLZaviRadio.TestClaim").c_str(), G_FILE_TEST_IS_REGULAR));

    InstanceClaim second("VLZaviRadio.TestClaim");
    EXPECT_FALSE(second.Held());
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(second.WaitFor(100ms));
    EXPECT_GE(std::chrono::steady_clock::now() - started, 100ms);  // it did wait
    first.reset();
    EXPECT_TRUE(second.WaitFor(0ms));

    const InstanceClaim other("VLZaviRadio.OtherClaim");
    EXPECT_TRUE(other.Held());
}

TEST_F(InstanceClaimTest, AProgramThatWasKilledBlocksNoLaterLaunch) {
    const std::string file = ClaimFile("VLZaviRadio.TestClaim");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    // A second process that holds the claim's lock and is then killed.
    const pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        const int held = open(file.c_str(), O_RDWR | O_CREAT, 0600);
        const char done = held >= 0 && flock(held, LOCK_EX) == 0 ? '1' : '0';
        (void)!write(ready[1], &done, 1);
        pause();
        _exit(0);
    }
    char done = 0;
    ASSERT_EQ(read(ready[0], &done, 1), 1);
    close(ready[0]);
    close(ready[1]);
    ASSERT_EQ(done, '1');

    InstanceClaim next("VLZaviRadio.TestClaim");
    EXPECT_FALSE(next.Held());
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_TRUE(next.WaitFor(1000ms));
}

TEST_F(InstanceClaimTest, ProcessesStartedByTheProgramDoNotKeepIt) {
    auto claim = std::make_unique<InstanceClaim>("VLZaviRadio.TestClaim");
    ASSERT_TRUE(claim->Held());
    // As the web engine starts its processes: a plain spawn, which keeps inheritable files.
    pid_t child = 0;
    char program[] = "sleep";
    char seconds[] = "30";
    char* arguments[] = {program, seconds, nullptr};
    ASSERT_EQ(posix_spawnp(&child, "sleep", nullptr, nullptr, arguments, environ), 0);
    claim.reset();
    // The child lets go of its copy only as its exec completes, a moment after the spawn
    // returns; had it inherited the claim, it would keep it for its 30 s.
    InstanceClaim next("VLZaviRadio.TestClaim");
    EXPECT_TRUE(next.WaitFor(1000ms));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

TEST(ShowRunningForm, RestoresAMinimizedWindowWithThatRoleAndBringsItToTheFront) {
    EXPECT_FALSE(ShowRunningForm(test::kFramedTestForm));  // none yet

    test::FramedTestForm form;
    form.Show();
    GtkWindow* window = GTK_WINDOW(form.hWnd());
    ASSERT_TRUE(test::PumpUntil([&] { return gtk_widget_get_mapped(form.hWnd()); }, 3000));
    const auto iconified = [&] {
        GdkWindow* gdkWindow = gtk_widget_get_window(form.hWnd());
        return gdkWindow != nullptr &&
               (gdk_window_get_state(gdkWindow) & GDK_WINDOW_STATE_ICONIFIED) != 0;
    };
    gtk_window_iconify(window);
    ASSERT_TRUE(test::PumpUntil(iconified, 3000));

    EXPECT_TRUE(ShowRunningForm(test::kFramedTestForm));
    EXPECT_TRUE(test::PumpUntil([&] { return !iconified(); }, 3000));
    EXPECT_TRUE(test::PumpUntil([&] { return gtk_window_is_active(window) != FALSE; }, 3000));
}

}  // namespace
}  // namespace zavi

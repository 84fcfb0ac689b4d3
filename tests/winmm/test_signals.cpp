// A program that has played a sound still ends on SIGTERM and SIGINT, as
// before its first sound: SDL's audio set-up installs no handlers of its own.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <csignal>
#include <cstdio>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

// Starts the player, waits for its sound to play, sends `signal`, and
// returns its wait status, or -1 when it is still running after 10 s.
int statusAfterSignal(int signal)
{
    int out[2];
    if (pipe(out) != 0)
        return -2;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char *argv[] = {const_cast<char *>(PLAY_AND_WAIT), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, PLAY_AND_WAIT, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return -2;
    }
    char line[32] = {};
    FILE *from = fdopen(out[0], "r");
    const bool started = std::fgets(line, sizeof line, from) != nullptr;
    std::fclose(from);
    EXPECT_TRUE(started);
    EXPECT_STREQ(line, "playing\n");
    kill(pid, signal);
    QElapsedTimer clock;
    clock.start();
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (clock.elapsed() > 10000) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        usleep(10000);
    }
    return status;
}

TEST(SignalsAfterASound, TermAndIntEndTheProgram)
{
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        const int status = statusAfterSignal(signal);
        ASSERT_NE(status, -1) << "still running 10 s after the signal";
        EXPECT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(WTERMSIG(status), signal);
    }
}

} // namespace

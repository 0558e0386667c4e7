// nimb as a user runs it: what it says of files that bring nothing, line by
// line, and its exit status. Runs the program itself.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "Fixtures.h"

namespace {

struct Outcome {
    int status = -1;
    std::string out, err;
};

// Runs nimb with args, as the user nobody when asNobody (tests run as root
// may not find out otherwise what an unreadable file does).
Outcome nimb(const std::vector<std::string>& args, bool asNobody = false)
{
    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]})
            close(fd);
        if (asNobody && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(125);
        std::vector<char*> argv;
        static const std::string program = QUOR_BIN_DIR "/nimb";
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(126);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    Outcome outcome;
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* texts[2] = {&outcome.out, &outcome.err};
    int open = 2;
    while (open > 0 && poll(fds, 2, -1) > 0) {
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP)))
                continue;
            char buffer[4096];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                texts[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return outcome;
}

class NimbFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        fixtures::Model model;
        model.addPart(fixtures::box(1, 2, 3), "Box");
        good = fixtures::tempPath("good.stp");
        model.writeStep(good);
        goodIges = fixtures::tempPath("good.igs");
        model.writeIges(goodIges);
        garbage = fixtures::writeText("garbage.stp", "not a STEP file");
        notes = fixtures::writeText("notes.txt", "text");
        missing = fixtures::tempPath("missing.stp");
        folder = fixtures::tempPath("folder.stp");
        mkdir(folder.c_str(), 0755);
        // A STEP file whose only product has no shape.
        fixtures::Model hollow;
        hollow.addAssembly("Nothing");
        empty = fixtures::tempPath("empty.stp");
        hollow.writeStep(empty);
    }

    static std::string good, goodIges, garbage, notes, missing, folder, empty;
    const std::string boxTree = "model space: 1 entity\n  Box2\n    Box  [3dsolid 1]\n";
};

std::string NimbFiles::good, NimbFiles::goodIges, NimbFiles::garbage, NimbFiles::notes, NimbFiles::missing,
    NimbFiles::folder, NimbFiles::empty;

void expectOutcome(const Outcome& got, int status, const std::string& out, const std::string& err)
{
    EXPECT_EQ(got.status, status);
    EXPECT_EQ(got.out, out);
    EXPECT_EQ(got.err, err);
}

} // namespace

TEST_F(NimbFiles, OpenChecksTheFileFirst)
{
    expectOutcome(nimb({"open", missing}), 1, "", "nimb: cannot open " + missing + ": no such file\n");
    expectOutcome(nimb({"open", folder}), 1, "", "nimb: cannot open " + folder + ": it is a folder\n");
    expectOutcome(nimb({"open", notes}), 1, "", "nimb: cannot open " + notes + ": no command handles .txt files\n");
    expectOutcome(nimb({"open", good}), 0, boxTree, "");
}

TEST_F(NimbFiles, AnOpenThatBringsNothingSaysSo)
{
    expectOutcome(nimb({"open", garbage}), 1, "model space: 0 entities\n",
                  "nimb: nothing imported from " + garbage + "\n");
    expectOutcome(nimb({"open", empty}), 1, "model space: 0 entities\n", "nimb: nothing imported from " + empty + "\n");
}

TEST_F(NimbFiles, ImportGoesOnWithTheOtherFiles)
{
    expectOutcome(nimb({"import", missing, good}), 1, boxTree, "nimb: cannot open " + missing + ": no such file\n");
    expectOutcome(nimb({"import", good, garbage, notes}), 1, boxTree,
                  "nimb: nothing imported from " + garbage + "\nnimb: cannot open " + notes +
                      ": no command handles .txt files\n");
    expectOutcome(nimb({"import", good, goodIges}), 0,
                  "model space: 2 entities\n  Box2\n    Box  [3dsolid 1]\n  Box4\n    Box3  [3dsolid 1]\n", "");
}

TEST_F(NimbFiles, RunFollowsTheSameRules)
{
    expectOutcome(nimb({"run", "stpimport", missing}), 1, "", "nimb: cannot open " + missing + ": no such file\n");
    expectOutcome(nimb({"run", "igsimport", notes}), 1, "",
                  "nimb: cannot open " + notes + ": no command handles .txt files\n");
    expectOutcome(nimb({"run", "stpimport", garbage}), 1, "", "nimb: nothing imported from " + garbage + "\n");
    expectOutcome(nimb({"run", "stpimport", good}), 0, "", "");
}

TEST_F(NimbFiles, AFileTheUserMayNotReadIsNotOpened)
{
    const std::string locked = fixtures::tempPath("locked.stp");
    std::ifstream in(good, std::ios::binary);
    std::ofstream(locked, std::ios::binary) << in.rdbuf();
    chmod(locked.c_str(), 0);
    // The test folder must let the other user reach the file.
    chmod(locked.substr(0, locked.rfind('/')).c_str(), 0755);
    const bool root = geteuid() == 0;
    expectOutcome(nimb({"open", locked}, root), 1, "", "nimb: cannot open " + locked + ": permission denied\n");
}

TEST_F(NimbFiles, ContentsSaysWhatTheKernelReads)
{
    expectOutcome(nimb({"contents", good, garbage, empty, notes}), 0,
                  good + ": it holds 1 solid, 1 shell, 6 faces, 6 wires, 12 edges, 8 vertices\n" + garbage +
                      ": the kernel cannot read it\n" + empty + ": it holds no geometry: 1 empty compound\n" +
                      notes + ": it is not a STEP or IGES file\n",
                  "");
}

TEST_F(NimbFiles, TheCodePageIsASettingOfTheHost)
{
    const Outcome refused = nimb({"--codepage", "437", "commands"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "nimb: --codepage needs one of 932, 936, 950, 1250 to 1258 and 65001, not '437' "
                           "(nimb --help shows the usage)\n");
    // A name in CP1251 bytes, as a Russian system writes it.
    fixtures::Model model;
    model.addPart(fixtures::box(1, 1, 1), "@@@@@@@1");
    const std::string path = fixtures::tempPath("russian.stp");
    model.writeStep(path);
    fixtures::replaceInFile(path, "@@@@@@@1", "\xD1\xE1\xEE\xF0\xEA\xE0" "1");
    expectOutcome(nimb({"--codepage", "1251", "open", path}), 0,
                  "model space: 1 entity\n  \xD0\xA1\xD0\xB1\xD0\xBE\xD1\x80\xD0\xBA\xD0\xB0" "1_2\n"
                  "    \xD0\xA1\xD0\xB1\xD0\xBE\xD1\x80\xD0\xBA\xD0\xB0" "1  [3dsolid 1]\n", "");
}

#ifdef QUOR_CORPUS_DIR
// A corpus file of a Russian system: "Сборка1" of parts "Дет1" and "Дет2" in CP1251.
TEST(NimbCorpus, TheRussianAssemblyUnderItsCodePage)
{
    const std::string path = QUOR_CORPUS_DIR "/step/bug31670_russian.stp";
    if (access(path.c_str(), R_OK) != 0)
        GTEST_SKIP() << "no " << path;
    const Outcome opened = nimb({"--codepage", "1251", "open", path});
    EXPECT_EQ(opened.status, 0);
    EXPECT_EQ(opened.out.substr(0, opened.out.find("    NAUO2")),
              "model space: 1 entity\n  \xD0\xA1\xD0\xB1\xD0\xBE\xD1\x80\xD0\xBA\xD0\xB0" "1\n    NAUO1\n"
              "      \xD0\x94\xD0\xB5\xD1\x82" "1_2\n        \xD0\x94\xD0\xB5\xD1\x82" "1  [3dsolid 1]\n");
}
#endif

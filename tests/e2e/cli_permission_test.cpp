// A port the user may not open: velorin-cli run as an ordinary user against a device file that
// only root and the group "dialout" may use says which group to join. Needs root to set the
// scene (the suite runs as root on the build machines); skipped otherwise.
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "e2e/process.h"
#include "support/temp_dir.h"

namespace velorin::e2e {
namespace {

TEST(CliPermission, RefusedPortNamesTheGroupToJoin) {
    const group* dialout = getgrnam("dialout");
    if (geteuid() != 0 || dialout == nullptr || access("/usr/bin/setpriv", X_OK) != 0) {
        GTEST_SKIP() << "needs root, the group dialout and setpriv";
    }
    test::TempDir dir;
    ASSERT_EQ(chmod(dir.Path().c_str(), 0755), 0);
    const std::string device = dir.MakeFile("ttyFAKE0", "");
    ASSERT_EQ(chown(device.c_str(), 0, dialout->gr_gid), 0);
    ASSERT_EQ(chmod(device.c_str(), 0660), 0);
    const std::string ports = dir.MakeDir("ports");
    ASSERT_EQ(chmod(ports.c_str(), 0755), 0);
    dir.MakeLink("ports/COM4", device);

    const std::vector<std::string> asNobody = {"--reuid=65534", "--regid=65534", "--clear-groups"};
    std::vector<std::string> probe = asNobody;
    probe.insert(probe.end(), {"/usr/bin/test", "-x", BinDir() + "/velorin-cli"});
    if (RunProgram("/usr/bin/setpriv", probe).exitCode != 0) {
        GTEST_SKIP() << "the build folder is not open to other users";
    }

    // nobody, in no supplementary group: the open is refused with EACCES.
    const RunResult r = RunProgram("/usr/bin/setpriv",
                                   {"--reuid=65534", "--regid=65534", "--clear-groups", BinDir() + "/velorin-cli",
                                    "info", "--port", "4", "--lang", "en", "--verbose"},
                                   {"VELORIN_PORT_DIR=" + ports, "VELORIN_KVUSB=/nonexistent/libkvusb.so"}, dir.Path());
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_NE(r.err.find("No permission to open " + ports +
                         "/COM4: add your user to the group 'dialout' "
                         "(sudo usermod -aG dialout $USER) and log in again"),
              std::string::npos)
        << r.err;
    // Without --verbose the reason is what the command ends with, in full, not a timeout.
    const RunResult quiet =
        RunProgram("/usr/bin/setpriv",
                   {"--reuid=65534", "--regid=65534", "--clear-groups", BinDir() + "/velorin-cli", "info", "--port",
                    "4", "--lang", "en"},
                   {"VELORIN_PORT_DIR=" + ports, "VELORIN_KVUSB=/nonexistent/libkvusb.so"}, dir.Path());
    EXPECT_EQ(quiet.exitCode, 2);
    EXPECT_EQ(quiet.err, "No permission to open " + ports +
                             "/COM4: add your user to the group 'dialout' "
                             "(sudo usermod -aG dialout $USER) and log in again\n");
}

}  // namespace
}  // namespace velorin::e2e

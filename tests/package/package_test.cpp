// The Debian package made by `cpack -G DEB` from the build folder: its name and version, every
// file a user needs and nothing of the tests, its dependencies, and the programs run from the
// unpacked tree. Skipped where cpack or dpkg-deb is missing.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "common/version.h"
#include "package/shell_run.h"
#include "support/temp_dir.h"

namespace velorin::test {
namespace {

// The package of this very build, made once in a folder of its own (tests run in parallel; each
// test case of the suite is a process of its own, so the checks share one test).
struct Package {
    ShellRun made;
    std::string deb;
};

Package MakePackage(const TempDir& out) {
    Package p;
    const std::string arch = Shell("dpkg --print-architecture").output;
    p.deb = out.Path() + "/velorin_" + ProgramVersion() + "_" + arch.substr(0, arch.find('\n')) + ".deb";
    p.made = Shell("cd " + Quoted(VELORIN_BUILD_DIR) + " && cpack -G DEB --config CPackConfig.cmake -B " +
                   Quoted(out.Path()));
    return p;
}

void ExpectEveryInstalledFile(const std::string& deb) {
    const ShellRun list = Shell("dpkg-deb -c " + Quoted(deb));
    ASSERT_EQ(list.status, 0) << list.output;
    const std::vector<std::string> expected = {
        "./usr/bin/velorin",
        "./usr/bin/velorin-cli",
        "./usr/bin/libkvusb.so",
        "./usr/bin/logo.png",
        "./usr/share/applications/velorin.desktop",
        "./usr/share/icons/hicolor/scalable/apps/velorin.svg",
        "./usr/share/mime/packages/velorin-kv.xml",
        "./usr/lib/udev/rules.d/70-velorin-logger.rules",
        "./usr/share/metainfo/example.velorin.Velorin.metainfo.xml",
        "./usr/share/doc/velorin/manual/en/index.html",
        "./usr/share/doc/velorin/manual/zh/index.html",
        "./usr/share/man/man1/velorin.1.gz",
        "./usr/share/man/man1/velorin-cli.1.gz",
        "./usr/share/bash-completion/completions/velorin-cli",
    };
    for (const std::string& file : expected) {
        EXPECT_NE(list.output.find(" " + file + "\n"), std::string::npos) << file << "\n" << list.output;
    }
    for (const char* absent : {"velorin-logger-sim", "libkvusb-sim", "_tests", "velorin-man", "gtest"}) {
        EXPECT_EQ(list.output.find(absent), std::string::npos) << absent;
    }
}

void ExpectControlFields(const std::string& deb) {
    const ShellRun fields = Shell("dpkg-deb -f " + Quoted(deb) + " Package Version Depends");
    ASSERT_EQ(fields.status, 0) << fields.output;
    EXPECT_NE(fields.output.find("Package: velorin\n"), std::string::npos) << fields.output;
    EXPECT_NE(fields.output.find(std::string("Version: ") + ProgramVersion() + "\n"), std::string::npos)
        << fields.output;
    // The font of the PDF report, and what dpkg-shlibdeps finds for the programs and libkvusb.so.
    for (const char* dependency :
         {"fonts-arphic-uming", "libc6", "libqt6widgets6", "libcairo2", "libhidapi-hidraw0", "libudev1"}) {
        EXPECT_NE(fields.output.find(dependency), std::string::npos) << dependency << "\n" << fields.output;
    }
}

void ExpectUnpackedProgramsRun(const TempDir& root) {
    const std::string bin = root.Path() + "/usr/bin/";
    const ShellRun cli = Shell(Quoted(bin + "velorin-cli") + " --version");
    EXPECT_EQ(cli.status, 0);
    EXPECT_EQ(cli.output, std::string("velorin-cli ") + ProgramVersion() + "\n");
    const ShellRun gui = Shell("env -u DISPLAY -u WAYLAND_DISPLAY " + Quoted(bin + "velorin") + " --version");
    EXPECT_EQ(gui.status, 0);
    EXPECT_EQ(gui.output, std::string("velorin ") + ProgramVersion() + "\n");
    // The installed manual pages read as pages (man from man-db, where installed).
    if (HaveProgram("man")) {
        const ShellRun page =
            Shell("MANWIDTH=100 man -l " + Quoted(root.Path() + "/usr/share/man/man1/velorin-cli.1.gz"));
        EXPECT_NE(page.output.find("usage: velorin-cli configure"), std::string::npos) << page.output;
    }
}

void ExpectValidMetainfo(const TempDir& root) {
    if (!HaveProgram("appstreamcli")) return;  // optional: validated where installed
    const std::string metainfo = root.Path() + "/usr/share/metainfo/example.velorin.Velorin.metainfo.xml";
    const ShellRun valid = Shell("appstreamcli validate --no-net " + Quoted(metainfo));
    EXPECT_EQ(valid.status, 0) << valid.output;
    EXPECT_NE(ReadFileBytes(metainfo).find(std::string("<release version=\"") + ProgramVersion() + "\""),
              std::string::npos);
}

// Every picture a manual shows is installed beside it (a picture that was never made shows as
// a broken image in the user's browser).
void ExpectEveryPictureOfTheManuals(const TempDir& root) {
    const std::string manual = root.Path() + "/usr/share/doc/velorin/manual";
    for (const char* lang : {"en", "zh"}) {
        std::ifstream in(manual + "/" + lang + "/index.html");
        ASSERT_TRUE(in) << lang;
        const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::regex picture("src=\"([^\"]+\\.png)\"");
        int pictures = 0;
        for (std::sregex_iterator m(html.begin(), html.end(), picture), end; m != end; ++m, ++pictures) {
            const std::string path = manual + "/" + lang + "/" + (*m)[1].str();
            EXPECT_TRUE(std::ifstream(path).good()) << lang << " manual: " << (*m)[1].str();
        }
        EXPECT_GE(pictures, 4) << lang;
    }
}

TEST(Package, CpackMakesTheDebianPackageOfTheBuild) {
    if (!HaveProgram("cpack") || !HaveProgram("dpkg-deb") || !HaveProgram("dpkg-shlibdeps")) {
        GTEST_SKIP() << "cpack, dpkg-deb or dpkg-shlibdeps not installed";
    }
    TempDir out;
    const Package package = MakePackage(out);
    ASSERT_EQ(package.made.status, 0) << package.made.output;
    ASSERT_TRUE(FileExists(package.deb)) << package.made.output;
    {
        SCOPED_TRACE("file list");
        ExpectEveryInstalledFile(package.deb);
    }
    {
        SCOPED_TRACE("control file");
        ExpectControlFields(package.deb);
    }
    TempDir root;
    ASSERT_EQ(Shell("dpkg-deb -x " + Quoted(package.deb) + " " + Quoted(root.Path())).status, 0);
    {
        SCOPED_TRACE("unpacked programs");
        ExpectUnpackedProgramsRun(root);
    }
    {
        SCOPED_TRACE("AppStream metainfo");
        ExpectValidMetainfo(root);
    }
    {
        SCOPED_TRACE("manual pictures");
        ExpectEveryPictureOfTheManuals(root);
    }
}

}  // namespace
}  // namespace velorin::test

#include "engine/restore_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>

#include "fakes/wirewise/registry_snapshot.h"
#include "engine/settings_pass.h"
#include "fakes/wirewise/lead_bytes.h"
#include "fakes/wirewise/regedit4.h"
#include "fakes/wirewise/test_app.h"
#include "platform/registry_values.h"

namespace ww::test {
namespace {

using namespace std::string_literals;
using enum OsFamily;

const std::string kSid = "S-1-5-21-1-2-3-1000";
const std::string kIe = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\";
const std::string kGuid = "{4A1C8B2E-6C3D-4E5F-8A9B-0C1D2E3F4A5B}";
const std::string kInterface =
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\" + kGuid;
const std::string kAdapterTcpip =
    "SYSTEM\\CurrentControlSet\\Services\\" + kGuid + "\\Parameters\\Tcpip";
const std::string kNetTrans = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0001";
const std::string kTcpipParameters = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";

// The section and value lines of one value.
std::string Lines(const SavedValue& v) {
    std::string text;
    EXPECT_TRUE(Regedit4Text({v}, &text));
    const size_t start = text.find("]\r\n");
    return start == std::string::npos ? text : text.substr(start + 3, text.size() - start - 5);
}

SavedValue Value(uint32_t type, std::string data, std::string name = "V") {
    return {kHkeyLocalMachine, "Software\\K", std::move(name), type, std::move(data)};
}

// Each form as regedit stores it back byte for byte: "text" only for one text with its single
// terminating NUL; every other REG_SZ, a REG_DWORD of another size and every other type by bytes.
TEST(Regedit4Text, EachValueInTheFormThatComesBackByteForByte) {
    const struct {
        const char* what;
        SavedValue value;
        std::string line;
    } cases[] = {
        {"text", Value(1, "http://wpad/proxy.pac\0"s), "\"V\"=\"http://wpad/proxy.pac\""},
        {"quotes and backslashes", Value(1, "a\"b\\c\\\0"s, "n\"a\\me"),
         "\"n\\\"a\\\\me\"=\"a\\\"b\\\\c\\\\\""},
        {"high bytes", Value(1, "caf\xe9\0"s), "\"V\"=\"caf\xe9\""},
        {"the default value", Value(1, "x\0"s, ""), "@=\"x\""},
        {"empty text", Value(1, "\0"s), "\"V\"=\"\""},
        {"stored without NUL", Value(1, "0"), "\"V\"=hex(1):30"},
        {"size 0", Value(1, ""), "\"V\"=hex(1):"},
        {"an embedded NUL", Value(1, "a\0b\0"s), "\"V\"=hex(1):61,00,62,00"},
        {"a line break", Value(1, "a\r\nb\0"s), "\"V\"=hex(1):61,0d,0a,62,00"},
        {"two NULs at the end", Value(1, "a\0\0"s), "\"V\"=hex(1):61,00,00"},
        {"dword", Value(4, "\x01\x02\x00\xff"s), "\"V\"=dword:ff000201"},
        {"dword of 2 bytes", Value(4, "\x01\x02"s), "\"V\"=hex(4):01,02"},
        {"binary", Value(3, "\x46\x00\x0b"s), "\"V\"=hex:46,00,0b"},
        {"empty binary", Value(3, ""), "\"V\"=hex:"},
        {"multi", Value(7, "10.0.0.1\0\0"s), "\"V\"=hex(7):31,30,2e,30,2e,30,2e,31,00,00"},
        {"expand", Value(2, "%A%\0"s), "\"V\"=hex(2):25,41,25,00"},
        {"none", Value(0, "\x01"s), "\"V\"=hex(0):01"},
        {"qword", Value(11, "12345678"), "\"V\"=hex(b):31,32,33,34,35,36,37,38"},
        {"a type of its own", Value(0x12345, "\xAA"s), "\"V\"=hex(12345):aa"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Lines(c.value), c.line + "\r\n") << c.what;
}

TEST(Regedit4Text, KeysInFirstSeenOrderAndLongDataWrapped) {
    const std::vector<SavedValue> values = {
        {kHkeyUsers, kSid + "\\" + kIe, "ProxyEnable", 4, "\x01\0\0\0"s},
        {kHkeyLocalMachine, kNetTrans, "IPMask", 1, "255.0.0.0\0"s},
        {kHkeyUsers, kSid + "\\" + kIe, "AutoConfigURL", 1, "\0"s},
        {kHkeyUsers, kSid + "\\" + kIe + "Connections", "DefaultConnectionSettings", 3,
         std::string(40, '\x11')},
    };
    std::string text;
    ASSERT_TRUE(Regedit4Text(values, &text));
    EXPECT_EQ(text, "REGEDIT4\r\n"
                    "\r\n"
                    "[HKEY_USERS\\" +
                        kSid +
                        "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings]\r\n"
                        "\"ProxyEnable\"=dword:00000001\r\n"
                        "\"AutoConfigURL\"=\"\"\r\n"
                        "\r\n"
                        "[HKEY_LOCAL_MACHINE\\" +
                        kNetTrans +
                        "]\r\n"
                        "\"IPMask\"=\"255.0.0.0\"\r\n"
                        "\r\n"
                        "[HKEY_USERS\\" +
                        kSid + "\\" + kIe +
                        "Connections]\r\n"
                        "\"DefaultConnectionSettings\"=hex:11,11,11,11,11,11,11,11,11,11,11,11,"
                        "11,11,11,\\\r\n"
                        "  11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,"
                        "11,11,11\r\n"
                        "\r\n");

    std::string unchanged = "kept";
    for (const SavedValue& bad :
         {Value(1, "x\0"s, "a\r\nb"), Value(1, "x\0"s, "a\0b"s), Value(1, "x\0"s, "a\nb"),
          SavedValue{kHkeyUsers, "S\rx", "V", 1, "x\0"s}, SavedValue{0x1234, "K", "V", 1, ""}})
        EXPECT_FALSE(Regedit4Text({bad}, &unchanged));
    EXPECT_EQ(unchanged, "kept");
}

// Whatever a value holds and whatever its name, it comes back from its own text unchanged.
TEST(Regedit4Text, EveryValueSurvivesAWriteAndARead) {
    std::mt19937 random(20240611);
    const auto byte = [&] { return static_cast<char>(random() & 0xFF); };
    const uint32_t types[] = {0, 1, 1, 1, 2, 3, 3, 4, 4, 7, 11, 0xFFFFFFFF};
    for (int round = 0; round < 300; ++round) {
        std::vector<SavedValue> values;
        for (int n = static_cast<int>(random() % 4); n >= 0; --n) {
            SavedValue v{kHkeyLocalMachine, "Software\\K" + std::to_string(random() % 3), "", 0,
                         ""};
            for (size_t i = random() % 12; i > 0; --i) {
                const char c = "\"\\ab\xe9\x7f=@["[random() % 9];
                v.valueName += random() % 3 ? c : byte();
            }
            v.type = types[random() % std::size(types)];
            const size_t size = random() % 8 == 0 ? 4096 : random() % 40;
            for (size_t i = 0; i < size; ++i)
                v.data += random() % 2 ? byte() : "\"\\a\0"[random() % 4];
            if (v.type == 1 && random() % 2) v.data += '\0';
            if (v.type == 4 && random() % 2) v.data.resize(4);
            values.push_back(std::move(v));
        }
        std::string text;
        const bool unwritable = std::any_of(values.begin(), values.end(), [](const auto& v) {
            return v.valueName.find_first_of("\r\n\0"s) != std::string::npos;
        });
        ASSERT_EQ(Regedit4Text(values, &text), !unwritable) << round;
        if (unwritable) continue;
        std::string error;
        const auto read = ParseRegedit4(text, &error);
        ASSERT_TRUE(read) << error << "\n" << text;
        ASSERT_EQ(read->size(), values.size());
        // Grouped under their keys: each key's values in their own order.
        for (const auto& key : {"Software\\K0", "Software\\K1", "Software\\K2"}) {
            std::vector<ImportedValue> want, got;
            for (const SavedValue& v : values)
                if (v.keyPath == key)
                    want.push_back({v.root, v.keyPath, v.valueName, v.type, v.data});
            for (const ImportedValue& v : *read)
                if (v.keyPath == key) got.push_back(v);
            EXPECT_EQ(got, want) << round;
        }
    }
}

// In the double-byte code pages the second byte of a character may be 0x5C, the backslash:
// it stays as it is, while the quotes and backslashes of their own beside it are still escaped.
// 0x22 is the second byte of no character in these code pages, so the quotes stand beside such
// characters. In Windows-1252 the same two bytes are two characters, and 0x5C is escaped.
TEST(Regedit4Text, SecondBytesOfDoubleByteCharactersAreNoEscapes) {
    const struct {
        int codePage;
        std::string ch;      // one character (two bytes in the double-byte code pages)
        std::string written; // as a quoted text holds it
    } cases[] = {
        {932, "\x95\x5C", "\x95\x5C"}, // the character for "table"
        {932, "\x83\x5C", "\x83\x5C"}, // katakana so
        {936, "\x81\x5C", "\x81\x5C"},
        {936, "\xD5\x5C", "\xD5\x5C"},
        {949, "\x81\x5C", "\x81\x5C"},
        {949, "\xC7\xD1", "\xC7\xD1"}, // hangul han: no 0x5C, nothing to keep
        {950, "\xA5\x5C", "\xA5\x5C"}, // the character for "merit"
        {950, "\xB3\x5C", "\xB3\x5C"}, // the character for "allow"
        {1252, "\x95\x5C", "\x95\\\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.codePage);
        const LeadBytes lead = LeadBytesOf(c.codePage);
        const std::vector<SavedValue> values = {
            {kHkeyUsers, kSid + "\\Software\\" + c.ch + "\\", "AutoConfigURL", 1,
             "http://p/" + c.ch + "\0"s},
            {kHkeyUsers, kSid + "\\Software\\" + c.ch + "\\", c.ch + "\"\\" + c.ch, 1,
             "\"" + c.ch + "\\" + c.ch + "\0"s},
        };
        std::string text;
        ASSERT_TRUE(Regedit4Text(values, lead, &text));
        // The key's closing backslash goes; in 1252 the 0x5C before it is one too.
        const std::string key = c.codePage == 1252 ? "\x95" : c.ch;
        EXPECT_EQ(text, "REGEDIT4\r\n\r\n[HKEY_USERS\\" + kSid + "\\Software\\" + key +
                            "]\r\n"
                            "\"AutoConfigURL\"=\"http://p/" +
                            c.written +
                            "\"\r\n"
                            "\"" +
                            c.written + "\\\"\\\\" + c.written + "\"=\"\\\"" + c.written + "\\\\" +
                            c.written + "\"\r\n\r\n");
        std::string error;
        const auto read = ParseRegedit4(text, &error, lead);
        ASSERT_TRUE(read) << error;
        ASSERT_EQ(read->size(), 2u);
        for (size_t i = 0; i < 2; ++i) {
            EXPECT_EQ((*read)[i].name, values[i].valueName);
            EXPECT_EQ((*read)[i].data, values[i].data);
        }
    }
}

// A first byte with nothing after it would take the closing quote or bracket as its second
// byte: such a text goes by its bytes, and such a name or key cannot be written.
TEST(Regedit4Text, ALoneFirstByteAtTheEnd) {
    const LeadBytes lead = LeadBytesOf(932);
    std::string text;
    ASSERT_TRUE(Regedit4Text({Value(1, "a\x95\0"s)}, lead, &text));
    EXPECT_NE(text.find("\"V\"=hex(1):61,95,00\r\n"), std::string::npos) << text;
    EXPECT_FALSE(Regedit4Text({Value(1, "x\0"s, "a\x95")}, lead, &text));
    EXPECT_FALSE(Regedit4Text({SavedValue{kHkeyUsers, "K\x95", "V", 1, "x\0"s}}, lead, &text));
    // A pair is whole, also where its second byte would be a backslash at the end of the key.
    ASSERT_TRUE(Regedit4Text({Value(1, "a\x95\x95\0"s)}, lead, &text));
    EXPECT_NE(text.find("\"V\"=\"a\x95\x95\"\r\n"), std::string::npos) << text;
}

// The reader walks characters as regedit on that code page does: the text a byte-wise writer
// made of "http://p/" and the character 95 5C reads as an escaped quote, and the line breaks.
TEST(ParseRegedit4, ReadsTheCharactersOfItsCodePage) {
    const std::string byteWise =
        "REGEDIT4\r\n\r\n[HKEY_USERS\\S]\r\n\"V\"=\"http://p/\x95\\\\\"\r\n";
    EXPECT_FALSE(ParseRegedit4(byteWise, nullptr, LeadBytesOf(932)));
    const auto western = ParseRegedit4(byteWise, nullptr, LeadBytesOf(1252));
    ASSERT_TRUE(western);
    EXPECT_EQ(western->at(0).data, "http://p/\x95\\\0"s);
}

TEST(ReadValues, TypesAndEveryByteOfTheValuesThatExist) {
    TestApp t;
    const std::string blob(4096, '\x5a');
    t.reg.SetBinary(kHkeyUsers, kSid + "\\K", "Big",
                    std::vector<uint8_t>(blob.begin(), blob.end()));
    t.reg.SetValue(kHkeyUsers, kSid + "\\K", "Odd", 0x20, "\0\x01"s);
    t.reg.SetString(kHkeyUsers, kSid + "\\K", "NoNul", "0", false);
    const auto values = ReadValues(t.app, {{kHkeyUsers, kSid + "\\K", "Big"},
                                           {kHkeyUsers, kSid + "\\K", "Missing"},
                                           {kHkeyUsers, kSid + "\\Nowhere", "Big"},
                                           {kHkeyUsers, kSid + "\\K", "Odd"},
                                           {kHkeyUsers, kSid + "\\K", "NoNul"}});
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0].data, blob);
    EXPECT_EQ(values[0].type, kRegBinary);
    EXPECT_EQ(values[1].type, 0x20u);
    EXPECT_EQ(values[1].data, "\0\x01"s);
    EXPECT_EQ(values[2].data, "0");
    EXPECT_EQ(t.reg.OpenHandleCount(), 0u);
}

// A PC set up for another network on one road, both options ticked, with values regedit can only
// bring back in their byte form; WMI rewrites the adapter's addressing as Windows does.
struct Pc {
    TestApp t;

    Pc(OsFamily osCode, bool nt) {
        t.app.OsCode = osCode;
        t.app.NtPlatform = nt;
        t.app.UserName = "JOHN";
        t.app.UserSid = kSid;
        t.app.Adapters.push_back({"eth0", nt ? kGuid : "0001", "", "", 2});
        t.app.AdapterCount = 1;
        t.app.SelectedAdapter = 1;
        t.options.gates = t.options.ieAuto = true;
        t.iphlp.interfaces = {{2, u"\\DEVICE\\TCPIP_NIC"}};
        t.wmi.instances.push_back({"eth0", {}, {}});
        // NT 4 keeps one list of name servers and one DNS domain for the whole PC; later
        // systems keep them per interface.
        const std::string dnsKey = osCode == Nt4 ? kTcpipParameters : kInterface;
        t.wmi.onMethod = [this, dnsKey](size_t, const std::string& method) {
            if (method == "EnableDHCP") {
                for (const std::string& key : {kInterface, kAdapterTcpip}) {
                    t.reg.SetDword(kHkeyLocalMachine, key, "EnableDHCP", 1);
                    t.reg.SetMultiSz(kHkeyLocalMachine, key, "IPAddress", {"0.0.0.0"});
                    t.reg.SetMultiSz(kHkeyLocalMachine, key, "SubnetMask", {"0.0.0.0"});
                }
            }
            if (method == "SetDNSServerSearchOrder")
                t.reg.SetString(kHkeyLocalMachine, dnsKey, "NameServer", "");
            if (method == "SetDNSDomain") t.reg.SetString(kHkeyLocalMachine, dnsKey, "Domain", "");
        };
        auto& reg = t.reg;
        for (const auto& [root, key] : {std::pair{kHkeyUsers, (nt ? kSid : "JOHN"s) + "\\" + kIe},
                                        std::pair{kHkeyCurrentUser, kIe}}) {
            reg.SetDword(root, key, "EnableAutodial", 1);
            reg.SetValue(root, key, "NoNetAutodial", kRegDword, "\x01\x00"s);
            reg.SetDword(root, key, "ProxyEnable", 1);
            reg.SetString(root, key, "AutoConfigURL", "http://wpad/\"corp\"\\proxy.pac");
            std::vector<uint8_t> blob(60, 0);
            blob[0] = 0x46;
            blob[8] = 0x0b;
            blob[59] = 0xe9;
            reg.SetBinary(root, key + "Connections", "DefaultConnectionSettings", blob);
            blob.resize(52);
            reg.SetBinary(root, key + "Connections", "SavedLegacySettings", blob);
        }
        reg.SetString(kHkeyLocalMachine, "System\\CurrentControlSet\\Services\\VxD\\MSTCP",
                      "EnableDNS", "1", false);
        reg.SetString(kHkeyLocalMachine, kNetTrans, "IPAddress", "192.168.0.50");
        reg.SetString(kHkeyLocalMachine, kNetTrans, "IPMask", "255.255.255.0");
        reg.SetString(kHkeyLocalMachine, kNetTrans, "DefaultGateway", "192.168.0.1");
        for (const std::string& key : {kInterface, kAdapterTcpip}) {
            reg.SetMultiSz(kHkeyLocalMachine, key, "DefaultGateway", {"192.168.0.1", "10.0.0.1"});
            reg.SetMultiSz(kHkeyLocalMachine, key, "DefaultGatewayMetric", {"0", "1"});
            reg.SetMultiSz(kHkeyLocalMachine, key, "IPAddress", {"192.168.0.50"});
            reg.SetMultiSz(kHkeyLocalMachine, key, "SubnetMask", {"255.255.255.0"});
            reg.SetDword(kHkeyLocalMachine, key, "EnableDHCP", 0);
        }
        reg.SetString(kHkeyLocalMachine, kInterface, "NameServer", "10.0.0.1 10.0.0.2");
        reg.SetString(kHkeyLocalMachine, kInterface, "Domain", "corp.example");
        reg.SetValue(kHkeyLocalMachine, kTcpipParameters, "DhcpNameServer", kRegSz, "");
        reg.SetString(kHkeyLocalMachine, kTcpipParameters, "NameServer", "10.0.0.3");
        reg.SetString(kHkeyLocalMachine, kTcpipParameters, "Domain", "branch.example");
    }
};

// Wherever the pass stops, by a refused write or by one that never returns, the file written
// before it puts every value back as it was, type and bytes; a run that got through as well.
TEST(RestoreFile, AfterAFailureAtAnyWriteTheFileBringsEverythingBack) {
    const struct {
        const char* road;
        OsFamily osCode;
        bool nt;
    } roads[] = {{"Windows 98", Win9x, false},
                 {"NT 4", Nt4, true},
                 {"Windows 2000", Win2000, true},
                 {"Windows XP", WinXp, true},
                 {"later NT", Other, true}};
    for (const auto& road : roads) {
        Pc clean(road.osCode, road.nt);
        const auto untouched = Snapshot(clean.t.reg);
        ASSERT_TRUE(BackUpSettings(clean.t.app, "C:\\Tools\\").goOn);
        ConfigureNetwork(clean.t.app, false);
        const int writes = clean.t.reg.setCalls;
        ASSERT_GT(writes, 10) << road.road;
        ASSERT_NE(Snapshot(clean.t.reg), untouched) << road.road;

        for (int k = 1; k <= writes + 1; ++k) {
            for (const bool raise : {false, true}) {
                SCOPED_TRACE(std::string(road.road) + ", write " + std::to_string(k) +
                             (raise ? " raises" : " fails"));
                Pc pc(road.osCode, road.nt);
                const auto before = Snapshot(pc.t.reg);
                const Backup backup = BackUpSettings(pc.t.app, "C:\\Tools\\");
                ASSERT_EQ(backup.path, "C:\\Tools\\Setup-backup.reg");
                pc.t.reg.FailNthSet(k, kErrorAccessDenied, raise);
                ConfigureNetwork(pc.t.app, false);

                std::string error;
                const auto values = ParseRegedit4(pc.t.files.files.at(backup.path), &error);
                ASSERT_TRUE(values) << error;
                ApplyRegedit4(pc.t.reg, *values);
                EXPECT_EQ(Snapshot(pc.t.reg), before);
            }
        }
    }
}

// Only what a run may change goes into the file, from the road's own keys: the blobs only when
// "Set IE to Auto Detect" is ticked, the current user's view and the NetTrans key only on the
// Windows 9x road, the interface key, the name servers and the DNS domains only on the NT road.
TEST(RestoreFile, HoldsWhatTheRunMayChangeOnItsRoad) {
    const auto has = [](App& app, HKey root, const std::string& key, const std::string& name) {
        for (const RegLocation& v : ValuesASetupRunMayChange(app))
            if (v.root == root && v.keyPath.find(key) != std::string::npos && v.valueName == name)
                return true;
        return false;
    };
    const auto in = [](App& app, const std::string& key, const std::string& name) {
        for (const RegLocation& v : ValuesASetupRunMayChange(app))
            if (v.root == kHkeyLocalMachine && v.keyPath == key && v.valueName == name) return true;
        return false;
    };
    const struct {
        OsFamily osCode;
        bool nt, ieAuto;
    } cases[] = {
        {Win9x, false, true}, {Win9x, false, false}, {WinXp, true, true}, {Other, true, false}};
    for (const auto& c : cases) {
        Pc pc(c.osCode, c.nt);
        pc.t.options.ieAuto = c.ieAuto;
        App& app = pc.t.app;
        SCOPED_TRACE(std::to_string(static_cast<int>(c.osCode)) +
                     (c.ieAuto ? " ticked" : " unticked"));
        EXPECT_TRUE(has(app, kHkeyUsers, kIe, "ProxyEnable"));
        EXPECT_EQ(has(app, kHkeyUsers, "Connections", "DefaultConnectionSettings"), c.ieAuto);
        EXPECT_EQ(has(app, kHkeyCurrentUser, kIe, "AutoConfigURL"), !c.nt);
        EXPECT_EQ(has(app, kHkeyLocalMachine, kNetTrans, "DefaultGateway"), !c.nt);
        EXPECT_EQ(has(app, kHkeyLocalMachine, kInterface, "NameServer"), c.nt);
        EXPECT_EQ(has(app, kHkeyLocalMachine, kInterface, "EnableDHCP"), c.nt);
        EXPECT_EQ(has(app, kHkeyLocalMachine, kInterface, "Domain"), c.nt);
        // WMI's switch on NT 4 empties the whole PC's name servers and DNS domain.
        for (const char* name : {"NameServer", "Domain"})
            EXPECT_EQ(in(app, kTcpipParameters, name), c.nt) << name;
    }
    Pc none(Win32s, false);
    EXPECT_TRUE(ValuesASetupRunMayChange(none.t.app).empty());
}

// Where the desktop belongs to another account than the program's, that user's hive is the one
// saved and rewritten, on every NT road; the account's own stays as it was.
TEST(RestoreFile, TheDesktopUsersHiveIsSavedAndRewritten) {
    const std::string desktop = "S-1-5-21-9-8-7-1004";
    for (const OsFamily os : {Nt4, Win2000, WinXp, Other}) {
        SCOPED_TRACE(static_cast<int>(os));
        Pc pc(os, true);
        auto& reg = pc.t.reg;
        reg.SetDword(kHkeyUsers, desktop + "\\" + kIe, "ProxyEnable", 1);
        reg.SetString(kHkeyUsers, desktop + "\\" + kIe, "AutoConfigURL", "http://pac/");
        pc.t.app.DesktopSid = desktop;
        const auto account = Snapshot(reg)["HKU\\" + kSid + "\\" + kIe.substr(0, kIe.size() - 1)];
        ASSERT_FALSE(account.empty());

        const Backup backup = BackUpSettings(pc.t.app, "C:\\Tools\\");
        ASSERT_TRUE(backup.goOn);
        const std::string& file = pc.t.files.files.at(backup.path);
        EXPECT_NE(file.find("[HKEY_USERS\\" + desktop + "\\Software"), std::string::npos);
        EXPECT_EQ(file.find("HKEY_USERS\\" + kSid), std::string::npos);

        EXPECT_EQ(ConfigureNetwork(pc.t.app, false), PassOutcome::Done);
        const std::vector<std::string> log = pc.t.LogLines();
        EXPECT_NE(
            std::find(log.begin(), log.end(), "Autokey = " + desktop + "\\" + kIe + "Connections"),
            log.end());
        EXPECT_EQ(reg.Get(kHkeyUsers, desktop + "\\" + kIe, "ProxyEnable")->bytes,
                  std::string("\0\0\0\0", 4));
        EXPECT_EQ(Snapshot(reg)["HKU\\" + kSid + "\\" + kIe.substr(0, kIe.size() - 1)], account);
    }
}

// Where the run can change nothing (no road, an index outside the adapter list) there is nothing
// to put back: no file, no "Backup = " line to send the user to an empty one, no question; the
// run goes on.
TEST(RestoreFile, NoneWhenTheRunCanChangeNothing) {
    const struct {
        const char* what;
        OsFamily osCode;
        int16_t selected;
    } cases[] = {
        {"no road", Win32s, 1}, {"before the list", WinXp, -1}, {"past the list", WinXp, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Pc pc(c.osCode, c.osCode != Win32s);
        pc.t.app.SelectedAdapter = c.selected;
        const Backup backup = BackUpSettings(pc.t.app, "C:\\Tools\\");
        EXPECT_TRUE(backup.goOn);
        EXPECT_EQ(backup.path, "");
        EXPECT_TRUE(pc.t.files.files.empty());
        EXPECT_TRUE(pc.t.ui.boxes.empty());
    }
}

} // namespace
} // namespace ww::test

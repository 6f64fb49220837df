#include "Foundation/NSError.h"
#include "Foundation/Value.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

class Swatch : public NSObject {
public:
    using NSObject::NSObject;
    std::string description() const override { return "swatch"; }
};

// Every kind a property list can hold, nested, with the integer/real/bool split and values at
// the edges of their ranges.
Value samplePropertyList()
{
    return Value::dictionary({
        {"flag", true},
        {"off", false},
        {"count", 42},
        {"negative", -7},
        {"big", std::int64_t{1} << 40},
        {"ratio", 0.25},
        {"whole real", 3.0},
        {"name", "Caf\u00e9 \"quoted\" <tag> & more"},
        {"empty", ""},
        {"bytes", Value::data("\x00\x01\xff", 3)},
        {"when", Value::date(1700000000)},  // XML dates carry whole seconds
        {"list", Value::array({1, "two", Value::array({}), Value::dictionary({{"k", 2.5}})})},
        {"nested", Value::dictionary({{"inner", Value::dictionary({})}})},
    });
}

TEST(ValueTest, PropertyListRoundTripsInBothFormatsKeepingKinds)
{
    Value original = samplePropertyList();
    for (auto format : {NSPropertyListFormat::XML, NSPropertyListFormat::Binary}) {
        SCOPED_TRACE(format == NSPropertyListFormat::XML ? "XML" : "binary");
        std::shared_ptr<NSError> error;
        auto bytes = original.toPropertyList(format, &error);
        ASSERT_TRUE(bytes) << (error ? error->localizedDescription() : "");
        if (format == NSPropertyListFormat::XML)
            EXPECT_EQ(std::string(bytes->begin(), bytes->begin() + 5), "<?xml");
        else
            EXPECT_EQ(std::string(bytes->begin(), bytes->begin() + 6), "bplist");
        Value back = Value::fromPropertyList(bytes->data(), bytes->size(), &error);
        EXPECT_EQ(back, original) << back.description();
        EXPECT_TRUE(back["count"].isInteger());
        EXPECT_TRUE(back["whole real"].isReal());
        EXPECT_TRUE(back["flag"].isBool());
        EXPECT_EQ(back["negative"].intValue(), -7);
    }
}

TEST(ValueTest, PropertyListRefusesWhatItCannotHoldAndReportsCorruptInput)
{
    struct Case {
        const char* name;
        Value value;
    };
    const Case unwritable[] = {
        {"null in array", Value::array({1, Value::null()})},
        {"object in dictionary", Value::dictionary({{"swatch", NSObject::create<Swatch>()}})},
        {"nil", Value()},
    };
    for (const auto& c : unwritable) {
        SCOPED_TRACE(c.name);
        std::shared_ptr<NSError> error;
        EXPECT_FALSE(c.value.toPropertyList(NSPropertyListFormat::XML, &error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->domain(), NSCocoaErrorDomain);
    }
    std::shared_ptr<NSError> error;
    EXPECT_TRUE(Value::fromPropertyList(std::string_view("<plist><dict><key>a</key>"), &error).isNil());
    EXPECT_TRUE(error);
    error.reset();
    EXPECT_TRUE(Value::fromPropertyListFile("/nonexistent/file.plist", &error).isNil());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->userInfo()[NSFilePathErrorKey].stringValue(), "/nonexistent/file.plist");
}

// A binary property list of the given objects, the first one on top: the objects' bytes, the
// offset table, the trailer (1-byte offsets and references).
std::string binaryPropertyList(const std::vector<std::string>& objects)
{
    std::string bytes = "bplist00";
    std::string offsets;
    for (const std::string& object : objects) {
        offsets += static_cast<char>(bytes.size());
        bytes += object;
    }
    std::string trailer(6, '\0');
    trailer += "\x01\x01";
    auto be64 = [&](std::uint64_t v) {
        for (int shift = 56; shift >= 0; shift -= 8) trailer += static_cast<char>(v >> shift & 0xFF);
    };
    be64(objects.size());
    be64(0);
    be64(bytes.size());
    return bytes + offsets + trailer;
}

TEST(ValueTest, BrokenPropertyListsAreRefusedWithAReasonAndNoCrash)
{
    auto written = samplePropertyList().toPropertyList(NSPropertyListFormat::Binary);
    ASSERT_TRUE(written);
    const std::string whole(written->begin(), written->end());
    std::string nested = "<plist>";
    for (int i = 0; i < 600; ++i) nested.insert(7, "<array>").append("</array>");
    nested += "</plist>";
    struct Case {
        const char* name;
        std::string bytes;
        const char* reason;  // in the error's description; empty: any reason
    };
    const Case broken[] = {
        {"truncated binary", whole.substr(0, whole.size() / 2), ""},
        {"string claiming 1 GiB", binaryPropertyList({std::string("\x5F\x12\x40\x00\x00\x00" "abc", 9)}), ""},
        {"string of no UTF-8 (binary)", binaryPropertyList({"\x51\xFF"}), "not UTF-8"},
        // A dictionary {"a\0": "v"} whose key is UTF-16 holding a NUL.
        {"key holding a NUL (binary)",
         binaryPropertyList({"\xD1\x01\x02", std::string("\x62\x00\x61\x00\x00", 5), "\x51v"}), "NUL"},
        {"key that is a number (binary)", binaryPropertyList({"\xD1\x01\x02", "\x10\x05", "\x51v"}), ""},
        {"object reference on top (binary)", binaryPropertyList({std::string("\x80\x00", 2)}), "UID"},
        {"object reference in an array (binary)", binaryPropertyList({"\xA1\x01", std::string("\x80\x00", 2)}), "UID"},
        {"key of no UTF-8 (XML)", "<plist><dict><key>\xC3\x28</key><true/></dict></plist>", "not UTF-8"},
        {"string of no UTF-8 (text form)", "\"a\" = \"\xED\xA0\x80\";", "UTF-8"},
        {"600 nested arrays (XML)", nested, "nested deeper"},
    };
    for (const auto& c : broken) {
        SCOPED_TRACE(c.name);
        std::shared_ptr<NSError> error;
        EXPECT_TRUE(Value::fromPropertyList(c.bytes, &error).isNil());
        ASSERT_TRUE(error);
        EXPECT_NE(error->localizedDescription().find(c.reason), std::string::npos) << error->localizedDescription();
    }
}

TEST(ValueTest, BrokenJSONIsRefusedAndAStringOfNoUTF8HasNoJSONForm)
{
    for (const char* text : {"{\"a\": [1, 2", "{\"a\": \"\xFF\"}", "{\"a\": 1, \"a\": }", "\"\xED\xA0\x80\""}) {
        SCOPED_TRACE(text);
        std::shared_ptr<NSError> error;
        EXPECT_TRUE(Value::fromJSON(text, &error).isNil());
        EXPECT_TRUE(error);
    }
    // Written in code, such a string reaches the writer: a clear error, not an exception.
    std::shared_ptr<NSError> error;
    EXPECT_EQ(Value::dictionary({{"a", std::string("\xFF")}}).toJSON(false, &error), "");
    ASSERT_TRUE(error);
    EXPECT_NE(error->localizedDescription().find("UTF-8"), std::string::npos);
}

TEST(ValueTest, PropertyListFileIsWrittenAndReadBack)
{
    auto dir =
        std::filesystem::temp_directory_path() /
        ("ValueTest" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::string path = (dir / "Info.plist").string();
    ASSERT_TRUE(samplePropertyList().writePropertyListToFile(path, NSPropertyListFormat::Binary));
    EXPECT_EQ(Value::fromPropertyListFile(path), samplePropertyList());
    std::filesystem::remove_all(dir);
}

TEST(ValueTest, JsonKeepsNumberKindsAndRefusesNonJsonValues)
{
    Value v = Value::fromJSON(R"({"b": true, "i": 3, "r": 3.0, "s": "x", "n": null, "a": [1, 2.5]})");
    ASSERT_TRUE(v.isDictionary());
    EXPECT_TRUE(v["b"].isBool());
    EXPECT_TRUE(v["i"].isInteger());
    EXPECT_TRUE(v["r"].isReal());
    EXPECT_TRUE(v["n"].isNull());
    EXPECT_EQ(v["a"], Value::array({1, 2.5}));
    EXPECT_EQ(Value::fromJSON(v.toJSON()), v);

    std::shared_ptr<NSError> error;
    EXPECT_TRUE(Value::fromJSON("{\"a\": ", &error).isNil());
    EXPECT_TRUE(error);
    error.reset();
    EXPECT_EQ(Value::array({Value::date(0)}).toJSON(false, &error), "");
    EXPECT_TRUE(error);
}

TEST(ValueTest, NumberAndStringConversionsFollowThePlatform)
{
    struct Case {
        Value value;
        bool b;
        int i;
        double d;
    };
    const Case cases[] = {
        {true, true, 1, 1.0},
        {0, false, 0, 0.0},
        {2.9, true, 2, 2.9},
        {-2.9, true, -2, -2.9},
        {"12px", true, 12, 12.0},
        {"  0.5", false, 0, 0.5},
        {"YES", true, 0, 0.0},
        {"no", false, 0, 0.0},
        {Value(), false, 0, 0.0},
        {std::int64_t{1} << 32, true, 0, 4294967296.0},  // 32-bit int, as on the target
        {1e12, true, 2147483647, 1e12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.description());
        EXPECT_EQ(c.value.boolValue(), c.b);
        EXPECT_EQ(c.value.intValue(), c.i);
        EXPECT_DOUBLE_EQ(c.value.doubleValue(), c.d);
    }
}

TEST(ValueTest, CopiesAreIndependentAndReadsOfWrongKindsAnswerNil)
{
    Value a = Value::dictionary({{"list", Value::array({1})}});
    Value b = a;
    Value list = b["list"];
    list.addObject(2);
    b.setObject(list, "list");
    b.setObject(Value(), "missing");
    EXPECT_EQ(a["list"].count(), 1u);
    EXPECT_EQ(b["list"].count(), 2u);
    EXPECT_TRUE(Value(5)["key"].isNil());
    EXPECT_TRUE(Value::array({1})[5].isNil());
    EXPECT_THROW(Value(5).addObject(1), std::logic_error);

    auto swatch = NSObject::create<Swatch>();
    Value boxed = swatch;
    EXPECT_EQ(boxed.object<Swatch>(), swatch);
    EXPECT_TRUE(boxed.isKindOfClass<Swatch>());
    EXPECT_FALSE(Value("text").isKindOfClass<Swatch>());
    EXPECT_TRUE(Value(std::shared_ptr<Swatch>()).isNil());
}

TEST(ValueTest, DescriptionUsesThePlatformForm)
{
    Value v = Value::dictionary({{"a", Value::array({1, "two words"})}, {"b", 0.5}});
    EXPECT_EQ(v.description(), "{\n    a = (\n        1,\n        \"two words\"\n    );\n    b = 0.5;\n}");
    EXPECT_EQ(Value(true).description(), "1");
    EXPECT_EQ(Value::null().description(), "<null>");
}

}  // namespace

namespace {

TEST(ValueTest, ChangesThroughAMutableReferenceNeverShowInACopy)
{
    Value original = Value::array({1});
    auto& items = original.mutableArray();
    Value copy = original;
    Value assigned;
    assigned = original;
    items.push_back(2);
    EXPECT_EQ(original.count(), 2u);
    EXPECT_EQ(copy.count(), 1u);
    EXPECT_EQ(assigned.count(), 1u);

    Value dict = Value::dictionary({{"a", 1}});
    auto& entries = dict.mutableDictionary();
    Value dictCopy = dict;
    entries["b"] = 2;
    EXPECT_TRUE(dictCopy["b"].isNil());

    Value bytes = Value::data("ab", 2);
    auto& raw = bytes.mutableData();
    Value bytesCopy = bytes;
    raw[0] = 'z';
    EXPECT_EQ((*bytesCopy.asData())[0], 'a');
}

TEST(ValueTest, JSONNestedBeyondTheLimitIsRefusedWithAParseError)
{
    std::string deep(100000, '[');
    std::shared_ptr<NSError> error;
    EXPECT_TRUE(Value::fromJSON(deep + std::string(100000, ']'), &error).isNil());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 3840);

    std::string limit = std::string(512, '[') + std::string(512, ']');
    error.reset();
    EXPECT_TRUE(Value::fromJSON(limit, &error).isArray());
    EXPECT_FALSE(error);
    // Brackets inside strings are text, not nesting.
    EXPECT_EQ(Value::fromJSON("{\"a\": \"" + deep + "\"}")["a"].stringValue().size(), 100000u);
}

}  // namespace

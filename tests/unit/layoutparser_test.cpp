#include "classlib/layouterror.h"
#include "classlib/layoutparser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <string>
#include <vector>

namespace {

const char* const SampleLayout = R"LAYOUT(object MainForm: TMainForm
  Left = 351
  Top = 96
  Caption = 'Setup'
  Color = clWhite
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Menu = MainMenu1
  OldCreateOrder = False
  WindowState = wsMaximized
  OnCreate = FormCreate
  object BoardImage1: TBoardImage
    Anchors = [akLeft, akTop]
    Picture.Data = {
      0A544A504547496D616765
      FFD8FFE0}
    Stretch = True
    object FilterHighlight: TBoardHighlight
      Title = 'Manual &Filter Selection'
    end
  end
  object FilterPanel: TRadioPanel
    Lines.Strings = (
      'Select which manual filters to enable, then set the card'#39's filter'
      ''
      'line three'#13#10'x')
  end
  object Label1: TLabel
    Caption = 'It'#39's' + ' joined'
    Width = -1
  end
end
)LAYOUT";

// Wraps one property value in a minimal object so value syntax can be tested on its own.
TLayoutValue ParseValueText(const std::string& valueText) {
    const TLayoutNode root = TLayoutParser::Parse("object A: TA\n  P = " + valueText + "\nend\n");
    EXPECT_EQ(root.Properties.size(), 1u);
    return root.Properties.at(0).Value;
}

std::string NestedObjects(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "object O" + std::to_string(i) + ": TO\n";
    for (int i = 0; i < depth; ++i)
        text += "end\n";
    return text;
}

std::string NestedLists(int depth) {
    return "object A: TA\n  P = " + std::string(depth, '(') + std::string(depth, ')') + "\nend\n";
}

TEST(LayoutParserSample, ObjectsAndLines) {
    const TLayoutNode root = TLayoutParser::Parse(SampleLayout);
    EXPECT_EQ(root.Keyword, "object");
    EXPECT_EQ(root.Name, "MainForm");
    EXPECT_EQ(root.ClassName, "TMainForm");
    EXPECT_EQ(root.Line, 1);
    ASSERT_EQ(root.Properties.size(), 11u);
    ASSERT_EQ(root.Children.size(), 3u);

    const TLayoutNode& board = root.Children[0];
    EXPECT_EQ(board.Name, "BoardImage1");
    EXPECT_EQ(board.ClassName, "TBoardImage");
    EXPECT_EQ(board.Line, 13);
    ASSERT_EQ(board.Children.size(), 1u);
    EXPECT_EQ(board.Children[0].Name, "FilterHighlight");
    EXPECT_EQ(board.Children[0].ClassName, "TBoardHighlight");
    EXPECT_EQ(board.Children[0].Line, 19);
    EXPECT_EQ(root.Children[1].Name, "FilterPanel");
    EXPECT_EQ(root.Children[1].Line, 23);
    EXPECT_EQ(root.Children[2].Name, "Label1");
    EXPECT_EQ(root.Children[2].Line, 29);
}

TEST(LayoutParserSample, ScalarProperties) {
    const TLayoutNode root = TLayoutParser::Parse(SampleLayout);
    struct TExpected {
        const char* Name;
        TLayoutValueKind Kind;
        long long Integer;
        const char* Text;
        int Line;
    };
    const TExpected expected[] = {
        {"Left", TLayoutValueKind::Integer, 351, "", 2},
        {"Top", TLayoutValueKind::Integer, 96, "", 3},
        {"Caption", TLayoutValueKind::String, 0, "Setup", 4},
        {"Color", TLayoutValueKind::Identifier, 0, "clWhite", 5},
        {"Font.Height", TLayoutValueKind::Integer, -11, "", 6},
        {"Font.Name", TLayoutValueKind::String, 0, "MS Sans Serif", 7},
        {"Menu", TLayoutValueKind::Identifier, 0, "MainMenu1", 9},
        {"OldCreateOrder", TLayoutValueKind::Identifier, 0, "False", 10},
        {"WindowState", TLayoutValueKind::Identifier, 0, "wsMaximized", 11},
        {"OnCreate", TLayoutValueKind::Identifier, 0, "FormCreate", 12},
    };
    for (const TExpected& e : expected) {
        SCOPED_TRACE(e.Name);
        const TLayoutProperty* property = root.FindProperty(e.Name);
        ASSERT_NE(property, nullptr);
        EXPECT_EQ(property->Name, e.Name);
        EXPECT_EQ(property->Line, e.Line);
        EXPECT_EQ(property->Value.Line, e.Line);
        EXPECT_EQ(property->Value.Kind, e.Kind);
        EXPECT_EQ(property->Value.Integer, e.Integer);
        EXPECT_EQ(property->Value.Text, e.Text);
    }
    const TLayoutProperty* style = root.FindProperty("Font.Style");
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->Value.Kind, TLayoutValueKind::Set);
    EXPECT_TRUE(style->Value.Names.empty());
}

TEST(LayoutParserSample, CompoundValues) {
    const TLayoutNode root = TLayoutParser::Parse(SampleLayout);
    const TLayoutNode& board = root.Children[0];

    const TLayoutValue& anchors = board.Properties.at(0).Value;
    EXPECT_EQ(board.Properties[0].Name, "Anchors");
    EXPECT_EQ(anchors.Kind, TLayoutValueKind::Set);
    EXPECT_EQ(anchors.Names, (std::vector<std::string>{"akLeft", "akTop"}));

    const TLayoutProperty& picture = board.Properties.at(1);
    EXPECT_EQ(picture.Name, "Picture.Data");
    EXPECT_EQ(picture.Line, 15);
    EXPECT_EQ(picture.Value.Kind, TLayoutValueKind::Binary);
    const std::vector<uint8_t> pictureBytes = {0x0A, 'T', 'J', 'P',  'E',  'G',  'I', 'm',
                                               'a',  'g', 'e', 0xFF, 0xD8, 0xFF, 0xE0};
    EXPECT_EQ(picture.Value.Bytes, pictureBytes);
    // The line count must survive the newlines inside the binary block.
    EXPECT_EQ(board.Properties.at(2).Name, "Stretch");
    EXPECT_EQ(board.Properties[2].Line, 18);
    EXPECT_EQ(board.Children[0].Properties.at(0).Value.Text, "Manual &Filter Selection");

    const TLayoutProperty& lines = root.Children[1].Properties.at(0);
    EXPECT_EQ(lines.Name, "Lines.Strings");
    ASSERT_EQ(lines.Value.Kind, TLayoutValueKind::List);
    ASSERT_EQ(lines.Value.Items.size(), 3u);
    EXPECT_EQ(lines.Value.Items[0].Text,
              "Select which manual filters to enable, then set the card's filter");
    EXPECT_EQ(lines.Value.Items[0].Line, 25);
    EXPECT_EQ(lines.Value.Items[1].Kind, TLayoutValueKind::String);
    EXPECT_EQ(lines.Value.Items[1].Text, "");
    EXPECT_EQ(lines.Value.Items[2].Text, "line three\r\nx");
    EXPECT_EQ(lines.Value.Items[2].Line, 27);

    const TLayoutNode& label = root.Children[2];
    EXPECT_EQ(label.Properties.at(0).Value.Text, "It's joined");
    EXPECT_EQ(label.Properties.at(1).Value.Integer, -1);
}

TEST(LayoutParserSample, WindowsLineEndingsGiveTheSameTree) {
    std::string crlf;
    for (const char* p = SampleLayout; *p; ++p) {
        if (*p == '\n') crlf += '\r';
        crlf += *p;
    }
    const TLayoutNode root = TLayoutParser::Parse(crlf);
    EXPECT_EQ(root.Children[2].Line, 29);
    EXPECT_EQ(root.Children[1].Properties.at(0).Value.Items.at(2).Text, "line three\r\nx");
    EXPECT_EQ(root.Children[0].Properties.at(1).Value.Bytes.size(), 15u);
}

struct TValueCase {
    const char* Text;
    TLayoutValueKind Kind;
    long long Integer;
    double Float;
    std::string Bytes; // string bytes, identifier text or binary data
};

class LayoutParserValue : public ::testing::TestWithParam<TValueCase> {};

TEST_P(LayoutParserValue, ParsesTo) {
    const TValueCase& c = GetParam();
    const TLayoutValue value = ParseValueText(c.Text);
    EXPECT_EQ(value.Kind, c.Kind);
    EXPECT_EQ(value.Integer, c.Integer);
    EXPECT_DOUBLE_EQ(value.Float, c.Float);
    if (c.Kind == TLayoutValueKind::Binary)
        EXPECT_EQ(std::string(value.Bytes.begin(), value.Bytes.end()), c.Bytes);
    else
        EXPECT_EQ(value.Text, c.Bytes);
}

using K = TLayoutValueKind;
INSTANTIATE_TEST_SUITE_P(
    Scalars, LayoutParserValue,
    ::testing::Values(
        TValueCase{"0", K::Integer, 0, 0, ""}, TValueCase{"+7", K::Integer, 7, 0, ""},
        TValueCase{"$FF", K::Integer, 255, 0, ""},
        TValueCase{"$7fffffff", K::Integer, INT_MAX, 0, ""},
        TValueCase{"-$10", K::Integer, -16, 0, ""},
        TValueCase{"9223372036854775807", K::Integer, LLONG_MAX, 0, ""},
        TValueCase{"-9223372036854775808", K::Integer, LLONG_MIN, 0, ""},
        TValueCase{"$7FFFFFFFFFFFFFFF", K::Integer, LLONG_MAX, 0, ""},
        TValueCase{"1.5", K::Float, 0, 1.5, ""}, TValueCase{"-2.5E3", K::Float, 0, -2500, ""},
        TValueCase{"3e-2", K::Float, 0, 0.03, ""}, TValueCase{"+1.25", K::Float, 0, 1.25, ""},
        TValueCase{"''''", K::String, 0, 0, "'"}, TValueCase{"'a''b'", K::String, 0, 0, "a'b"},
        TValueCase{"#65#$42'c'#$0d", K::String, 0, 0, "ABc\r"},
        TValueCase{"#0'x'", K::String, 0, 0, std::string("\0x", 2)},
        TValueCase{"#255", K::String, 0, 0, "\xFF"},
        TValueCase{"'caf\xE9 \x80'", K::String, 0, 0, "caf\xE9 \x80"},
        TValueCase{"'a' +\n    'b'+'c'", K::String, 0, 0, "abc"},
        TValueCase{"'x'#13#10 + #9", K::String, 0, 0, "x\r\n\t"},
        TValueCase{"alClient", K::Identifier, 0, 0, "alClient"},
        TValueCase{"Form2.Button1", K::Identifier, 0, 0, "Form2.Button1"},
        TValueCase{"tRuE", K::Identifier, 0, 0, "tRuE"}, TValueCase{"{}", K::Binary, 0, 0, ""},
        TValueCase{"{ 00ff\n\t 4a }", K::Binary, 0, 0, std::string("\0\xFFJ", 3)},
        // A pair split by spaces or a line break is still one byte.
        TValueCase{"{0 0f\nf4 a}", K::Binary, 0, 0, std::string("\0\xFFJ", 3)},
        TValueCase{"{AbcD}", K::Binary, 0, 0, "\xAB\xCD"}));

TEST(LayoutParserValues, NestedListsKeepTheirItems) {
    const TLayoutValue list = ParseValueText("(\n 1 'two' (three [four]) () {05}\n)");
    ASSERT_EQ(list.Kind, TLayoutValueKind::List);
    ASSERT_EQ(list.Items.size(), 5u);
    EXPECT_EQ(list.Items[0].Integer, 1);
    EXPECT_EQ(list.Items[1].Text, "two");
    EXPECT_EQ(list.Items[1].Line, 3);
    ASSERT_EQ(list.Items[2].Kind, TLayoutValueKind::List);
    ASSERT_EQ(list.Items[2].Items.size(), 2u);
    EXPECT_EQ(list.Items[2].Items[0].Text, "three");
    EXPECT_EQ(list.Items[2].Items[1].Names, std::vector<std::string>{"four"});
    EXPECT_EQ(list.Items[3].Kind, TLayoutValueKind::List);
    EXPECT_TRUE(list.Items[3].Items.empty());
    EXPECT_EQ(list.Items[4].Bytes, std::vector<uint8_t>{5});
}

TEST(LayoutParserValues, CollectionItemsHoldProperties) {
    const TLayoutValue collection = ParseValueText("<\n    item\n      Width = 50\n"
                                                   "      Title.Caption = 'Name'\n    end\n"
                                                   "    Item\n    END\n    item\n"
                                                   "      Sub = <item X = (1) end>\n    end>");
    ASSERT_EQ(collection.Kind, TLayoutValueKind::Collection);
    ASSERT_EQ(collection.CollectionItems.size(), 3u);
    const TLayoutCollectionItem& first = collection.CollectionItems[0];
    EXPECT_EQ(first.Line, 3);
    ASSERT_EQ(first.Properties.size(), 2u);
    EXPECT_EQ(first.Properties[0].Name, "Width");
    EXPECT_EQ(first.Properties[0].Value.Integer, 50);
    EXPECT_EQ(first.Properties[1].Name, "Title.Caption");
    EXPECT_EQ(first.Properties[1].Line, 5);
    EXPECT_TRUE(collection.CollectionItems[1].Properties.empty());
    const TLayoutValue& inner = collection.CollectionItems[2].Properties.at(0).Value;
    ASSERT_EQ(inner.Kind, TLayoutValueKind::Collection);
    EXPECT_EQ(inner.CollectionItems.at(0).Properties.at(0).Value.Items.at(0).Integer, 1);
    EXPECT_TRUE(ParseValueText("<>").CollectionItems.empty());
}

TEST(LayoutParserObjects, KeywordsNamesAndCase) {
    const TLayoutNode root = TLayoutParser::Parse("INHERITED Form1: TForm1\n"
                                                  "  Inline Frame: TFrame1\n  End\n"
                                                  "  object : TTimer\n    interval = 5\n  eND\n"
                                                  "  object Item: TItem end\nend");
    EXPECT_EQ(root.Keyword, "inherited");
    ASSERT_EQ(root.Children.size(), 3u);
    EXPECT_EQ(root.Children[0].Keyword, "inline");
    EXPECT_EQ(root.Children[0].Name, "Frame");
    EXPECT_EQ(root.Children[1].Keyword, "object");
    EXPECT_EQ(root.Children[1].Name, "");
    EXPECT_EQ(root.Children[1].ClassName, "TTimer");
    EXPECT_EQ(root.Children[1].Line, 4);
    // Identifiers keep their spelling; lookup ignores case.
    EXPECT_EQ(root.Children[1].Properties.at(0).Name, "interval");
    ASSERT_NE(root.Children[1].FindProperty("INTERVAL"), nullptr);
    EXPECT_EQ(root.Children[1].FindProperty("Interval")->Value.Integer, 5);
    EXPECT_EQ(root.Children[1].FindProperty("Interval2"), nullptr);
    EXPECT_EQ(root.Children[2].Name, "Item");
}

TEST(LayoutParserLimits, NestingUpToTheLimitIsAccepted) {
    EXPECT_NO_THROW(TLayoutParser::Parse(NestedObjects(TLayoutParser::MaxNestingDepth)));
    EXPECT_NO_THROW(TLayoutParser::Parse(NestedLists(TLayoutParser::MaxNestingDepth)));
}

TEST(LayoutParserLimits, LargeBinaryBlockParsesQuickly) {
    std::string hex;
    for (int i = 0; i < 60000; ++i) {
        static const char digits[] = "0123456789ABCDEF";
        hex += digits[(i >> 4) & 0xF];
        hex += digits[i & 0xF];
        if (i % 32 == 31) hex += "\n      ";
    }
    const std::string text = "object A: TImage\n  Picture.Data = {\n" + hex + "}\n  Tag = 1\nend\n";
    const auto started = std::chrono::steady_clock::now();
    const TLayoutNode root = TLayoutParser::Parse(text);
    const auto elapsed = std::chrono::steady_clock::now() - started;
    const std::vector<uint8_t>& bytes = root.Properties.at(0).Value.Bytes;
    ASSERT_EQ(bytes.size(), 60000u);
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes[0x1234], 0x34);
    // Lines: object, "Picture.Data = {", one per 32 bytes, then "}" alone.
    EXPECT_EQ(root.Properties.at(1).Line, 2 + 60000 / 32 + 2);
    // Generous bound: a sanitizer build is several times slower than a release build.
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 500);
}

struct TErrorCase {
    const char* Title;
    std::string Text;
    int Line;
    const char* MessagePart;
};

class LayoutParserError : public ::testing::TestWithParam<TErrorCase> {};

TEST_P(LayoutParserError, ReportsLineAndExpectation) {
    const TErrorCase& c = GetParam();
    try {
        TLayoutParser::Parse(c.Text);
        FAIL() << "no error for: " << c.Text.substr(0, 200);
    } catch (const ELayoutError& error) {
        EXPECT_EQ(error.Line(), c.Line) << error.what();
        EXPECT_NE(std::string(error.what()).find(c.MessagePart), std::string::npos) << error.what();
        EXPECT_EQ(std::string(error.what()).rfind("line " + std::to_string(c.Line) + ": ", 0), 0u)
            << error.what();
    }
}

std::string TooManyElements() {
    std::string items;
    for (std::size_t i = 0; i <= TLayoutParser::MaxElements; ++i)
        items += "0 ";
    return "object A: TA\n  P = (" + items + ")\nend\n";
}

const TErrorCase ErrorCases[] = {
    {"Empty", "", 1, "empty layout, expected 'object'"},
    {"OnlyWhitespace", "\n\n  \n", 1, "empty layout"},
    {"NotAnObject", "form A: TA\nend", 1,
     "expected 'object', 'inherited' or 'inline' but found 'form'"},
    {"MissingEnd", "object A: TA\n  object B: TB\n    Left = 1\n  end\n\n", 4,
     "unexpected end of layout, expected 'end' for object 'A' (opened on line 1)"},
    {"MissingEndUnnamed", "object : TA\n", 1, "expected 'end' for unnamed object of class 'TA'"},
    {"MissingEquals", "object A: TA\n  Caption 'Setup'\nend", 2,
     "expected '=' after property name 'Caption' but found string 'Setup'"},
    {"MissingColon", "object A TA\nend", 1, "expected ':' after object name 'A' but found 'TA'"},
    {"MissingClass", "object A:\nend", 2,
     "expected a class name after ':' for object 'A' but found 'end'"},
    {"KeywordAsName", "object end: TA\nend", 1,
     "expected an object name or ':' after 'object' but found 'end'"},
    {"DottedName", "object A.B: TA\nend", 1, "expected an object name or ':'"},
    {"MissingValue", "object A: TA\n  Left =\nend", 3,
     "expected a value for property 'Left' but found 'end'"},
    {"SymbolAsValue", "object A: TA\n  Left = =\nend", 2,
     "expected a value for property 'Left' but found '='"},
    {"CommentIsNotSyntax", "object A: TA\n  // note\nend", 2,
     "expected a property name, nested object or 'end'"},
    {"PropertyAfterChild", "object A: TA\n  object B: TB\n  end\n  Left = 1\nend", 4,
     "property 'Left' follows a nested object"},
    {"GarbageAfterRoot", "object A: TA\nend\nend", 3,
     "expected end of layout after the final 'end' of object 'A' but found 'end'"},
    {"UnterminatedString", "object A: TA\n  Caption = 'abc\n  Left = 1\nend", 2,
     "unterminated string, expected a closing quote"},
    {"UnterminatedStringAtEnd", "object A: TA\n  Caption = 'abc", 2, "unterminated string"},
    {"PlusWithoutString", "object A: TA\n  Caption = 'a' +\n    5\nend", 3,
     "expected a string after '+' in property 'Caption' but found '5'"},
    {"CharacterCodeTooLarge", "object A: TA\n  Caption = 'a'#256\nend", 2,
     "character code '#256' is out of range, expected 0 to 255"},
    {"HugeCharacterCode", "object A: TA\n  Caption = #99999999999999999999999\nend", 2,
     "is out of range, expected 0 to 255"},
    {"HashWithoutDigits", "object A: TA\n  Caption = 'a'#\nend", 2,
     "expected a character code after '#'"},
    {"OddHexDigits", "object A: TA\n  Data = {\n    ABC\n  }\nend", 4,
     "odd number of hexadecimal digits in the binary data in property 'Data' opened on line 2"},
    {"BadHexDigit", "object A: TA\n  Data = {\n    0G}\nend", 3,
     "expected a hexadecimal digit or '}' in the binary data in property 'Data' but found 'G'"},
    {"UnterminatedBinary", "object A: TA\n  Data = {\n  00\n", 3,
     "expected '}' to close the binary data"},
    {"UnterminatedList", "object A: TA\n  Items = (\n  'a'\n", 3,
     "expected ')' to close the list in property 'Items' opened on line 2"},
    {"EndInsideList", "object A: TA\n  Items = (\n  'a'\nend", 4, "expected a list item or ')'"},
    {"SetTrailingComma", "object A: TA\n  S = [a, ]\nend", 2,
     "expected a set member name in property 'S'"},
    {"SetMissingComma", "object A: TA\n  S = [a b]\nend", 2,
     "expected ',' or ']' in the set in property 'S'"},
    {"CollectionWithoutItem", "object A: TA\n  C = <\n    Width = 1\n  >\nend", 3,
     "expected 'item' or '>' in the collection in property 'C' but found 'Width'"},
    {"ObjectInsideItem", "object A: TA\n  C = <item\n    object B: TB\n  end>\nend", 3,
     "expected a property name or 'end' in the collection item (opened on line 2)"},
    {"IntegerOverflow", "object A: TA\n  Left = 9223372036854775808\nend", 2,
     "integer '9223372036854775808' is out of range, expected a value from"},
    {"NegativeOverflow", "object A: TA\n  Left = -9223372036854775809\nend", 2, "is out of range"},
    {"HexOverflow", "object A: TA\n  Left = $10000000000000000\nend", 2, "is out of range"},
    {"FloatOverflow", "object A: TA\n  Scale = 1E999\nend", 2,
     "floating-point number '1E999' is out of range"},
    {"LettersAfterDigits", "object A: TA\n  Left = 12abc\nend", 2,
     "malformed number '12abc', expected a decimal"},
    {"BareDecimalPoint", "object A: TA\n  Left = 1.\nend", 2, "malformed number '1.'"},
    {"ExponentWithoutDigits", "object A: TA\n  Left = 2E+\nend", 2, "malformed number '2E+'"},
    {"DollarWithoutDigits", "object A: TA\n  Left = $\nend", 2,
     "expected hexadecimal digits after '$'"},
    {"TrailingDot", "object A: TA\n  Font. = 1\nend", 2,
     "expected an identifier after '.' in 'Font.'"},
    {"NonAsciiOutsideString", "object A: TA\n  Caption\xC3\xA9 = 'x'\nend", 2,
     "unexpected non-ASCII byte 0xC3 outside a string, expected ASCII"},
    {"ByteOrderMark", "\xEF\xBB\xBFobject A: TA\nend", 1, "non-ASCII byte 0xEF"},
    {"NulOutsideString", std::string("object A: TA\n  Left = 1\0\nend", 25), 2,
     "unexpected NUL byte"},
    {"ObjectsTooDeep", NestedObjects(TLayoutParser::MaxNestingDepth + 1), 65,
     "objects nested more than 64 deep, expected 'end'"},
    {"ListsTooDeep", NestedLists(TLayoutParser::MaxNestingDepth + 1), 2,
     "nested more than 64 deep in property 'P'"},
    {"TooManyElements", TooManyElements(), 2, "expected a smaller layout"},
    {"TooLarge", std::string(TLayoutParser::MaxInputBytes + 1, ' '), 1,
     "expected at most 16777216 bytes"},
};

INSTANTIATE_TEST_SUITE_P(Malformed, LayoutParserError, ::testing::ValuesIn(ErrorCases),
                         [](const ::testing::TestParamInfo<TErrorCase>& testCase) {
                             return std::string(testCase.param.Title);
                         });

// Damaged files must end in ELayoutError, never in a crash or another exception; run under
// the sanitizers this also catches out-of-bounds reads at every cut and flipped byte.
TEST(LayoutParserRobustness, TruncatedAndCorruptedSampleFailsCleanly) {
    const std::string sample = SampleLayout;
    const auto parseOrLayoutError = [](const std::string& text) {
        try {
            TLayoutParser::Parse(text);
        } catch (const ELayoutError& error) {
            EXPECT_GE(error.Line(), 1);
            EXPECT_LE(error.Line(), 40);
        }
    };
    for (std::size_t length = 0; length < sample.size(); ++length)
        parseOrLayoutError(sample.substr(0, length));
    const char replacements[] = {'\0', '\'', '#', '$', '{', '(', '<', '+', '\n', '\xFF'};
    for (std::size_t i = 0; i < sample.size(); ++i)
        for (const char replacement : replacements) {
            std::string corrupted = sample;
            corrupted[i] = replacement;
            parseOrLayoutError(corrupted);
        }
}

} // namespace

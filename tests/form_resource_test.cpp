// The form resource format: a full window with its controls, the choices a
// layout can make, and each way a resource can be malformed (with the line
// the error names).
#include <gtest/gtest.h>

#include "kit/form_resource.h"

namespace {

const char* const kDialog = R"(# a dialog
window TForm9
  Caption = "ダイアログ \"引用\" と \\"
  ClientWidth = 418
  ClientHeight = 122
  BorderStyle = Dialog
  FontName = "ＭＳ Ｐゴシック"
  FontCharset = ShiftJis
  FontHeight = -12
  OnShow = FormShow

  control TLabel Label1
    Left = 8
    Top = -16
    Width = 399
    Height = 12
    Caption = ""
  end
  control TButton Button3
    Width = 81
    Height = 33
    TabOrder = 1
    Visible = false
    OnClick = Button3Click
  end
  control TImage Image1
    Width = 5
    Height = 6
  end
end
# trailing comment
)";

TEST(FormResource, ParsesAWindowAndItsControls) {
    FormDesc f = ParseFormResource(kDialog, "TFORM9");
    EXPECT_EQ(f.className, "TForm9");
    EXPECT_EQ(f.caption, "ダイアログ \"引用\" と \\");
    EXPECT_EQ(f.clientWidth, 418);
    EXPECT_EQ(f.clientHeight, 122);
    EXPECT_EQ(f.width, 0);
    EXPECT_EQ(f.border, BorderStyle::Dialog);
    EXPECT_EQ(f.fontName, "ＭＳ Ｐゴシック");
    EXPECT_EQ(f.fontCharset, 128);
    EXPECT_EQ(f.fontHeight, -12);
    EXPECT_EQ(f.onShow, "FormShow");
    EXPECT_EQ(f.onCreate, "");
    ASSERT_EQ(f.controls.size(), 3u);
    const ControlDesc& label = f.controls[0];
    EXPECT_EQ(label.kind, "TLabel");
    EXPECT_EQ(label.name, "Label1");
    EXPECT_EQ(label.top, -16);
    EXPECT_EQ(label.width, 399);
    EXPECT_TRUE(label.visible);
    EXPECT_EQ(label.tabOrder, -1);
    const ControlDesc& button = f.controls[1];
    EXPECT_EQ(button.left, 0);
    EXPECT_FALSE(button.visible);
    EXPECT_EQ(button.tabOrder, 1);
    EXPECT_EQ(button.onClick, "Button3Click");
    EXPECT_EQ(f.controls[2].kind, "TImage");
}

TEST(FormResource, OuterSizeAndDefaults) {
    FormDesc f = ParseFormResource("window TForm1\r\n  Width = 538\r\n  Height = 291\r\nend", "TFORM1");
    EXPECT_EQ(f.width, 538);
    EXPECT_EQ(f.height, 291);
    EXPECT_EQ(f.border, BorderStyle::Sizeable);
    EXPECT_EQ(f.fontCharset, 1);
    EXPECT_TRUE(f.controls.empty());
}

struct Malformed {
    const char* what;
    const char* text;
    int line;
};

TEST(FormResource, MalformedResourcesNameTheLine) {
    const Malformed cases[] = {
        {"empty", "", 1},
        {"no window line", "control TButton B\nend\n", 1},
        {"window without class", "window\nend\n", 1},
        {"missing end", "window T\n Width = 1\n Height = 1\n", 4},
        {"text after the window", "window T\n Width = 1\n Height = 1\nend\nwindow U\n", 5},
        {"unknown property", "window T\n Width = 1\n Height = 1\n Colour = BtnFace\nend\n", 4},
        {"property twice", "window T\n Width = 1\n Width = 2\n Height = 1\nend\n", 3},
        {"no size", "window T\n Caption = \"x\"\nend\n", 3},
        {"half a size", "window T\n Width = 1\nend\n", 3},
        {"both sizes", "window T\n Width = 1\n Height = 1\n ClientWidth = 1\n ClientHeight = 1\nend\n", 6},
        {"negative width", "window T\n Width = -1\n Height = 1\nend\n", 2},
        {"number as text", "window T\n Width = \"1\"\n Height = 1\nend\n", 2},
        {"number too long", "window T\n Width = 1234567\n Height = 1\nend\n", 2},
        {"bad number", "window T\n Width = 12a\n Height = 1\nend\n", 2},
        {"unclosed string", "window T\n Caption = \"abc\n Width = 1\n Height = 1\nend\n", 2},
        {"text after a string", "window T\n Caption = \"a\" b\n Width = 1\n Height = 1\nend\n", 2},
        {"unknown escape", "window T\n Caption = \"a\\n\"\n Width = 1\n Height = 1\nend\n", 2},
        {"unknown border", "window T\n BorderStyle = None\n Width = 1\n Height = 1\nend\n", 2},
        {"no value", "window T\n Width =\n Height = 1\nend\n", 2},
        {"no equals sign", "window T\n Width 1\n Height = 1\nend\n", 2},
        {"handler not a name", "window T\n OnShow = \"FormShow\"\n Width = 1\n Height = 1\nend\n", 2},
        {"unknown control kind", "window T\n Width = 1\n Height = 1\n control TEdit E\n end\nend\n", 4},
        {"duplicate control name",
         "window T\n Width = 1\n Height = 1\n control TLabel A\n  Width = 1\n  Height = 1\n end\n"
         " control TLabel A\n  Width = 1\n  Height = 1\n end\nend\n",
         8},
        {"control without size", "window T\n Width = 1\n Height = 1\n control TLabel A\n  Width = 1\n end\nend\n", 6},
        {"caption on an image",
         "window T\n Width = 1\n Height = 1\n control TImage I\n  Caption = \"x\"\n end\nend\n", 5},
        {"click on a label",
         "window T\n Width = 1\n Height = 1\n control TLabel L\n  OnClick = LClick\n end\nend\n", 5},
        {"duplicate tab order",
         "window T\n Width = 1\n Height = 1\n control TButton A\n  Width = 1\n  Height = 1\n  TabOrder = 0\n"
         " end\n control TButton B\n  Width = 1\n  Height = 1\n  TabOrder = 0\n end\nend\n",
         13},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            ParseFormResource(c.text, "TFORM1");
            ADD_FAILURE() << "accepted";
        } catch (const EFormResourceError& e) {
            EXPECT_EQ(e.Message(), "フォーム リソース TFORM1 が不正です (" + std::to_string(c.line) + " 行目)");
        }
    }
}

}  // namespace

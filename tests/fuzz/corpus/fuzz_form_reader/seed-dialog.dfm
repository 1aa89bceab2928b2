object WelcomeDlg: TWelcomeDlg
  Left = 192
  Top = -5
  BorderStyle = bsDialog
  Caption = 'Setup '#8212' '#39'Korvane'#39 +
    ' wizard'
  ClientHeight = 360
  Color = clBtnFace
  Font.Style = [fsBold, fsItalic]
  Scale = 1.5
  Hint = ''
  object Edit1: TEdit
    Text = 'It''s'
    Anchors = []
    Visible = True
    Enabled = False
    OnChange = Edit1Change
  end
  object ListBox1: TListBox [2]
    Items.Strings = (
      'one'
      'two')
    Tag = $FF
  end
  object Panel1: TPanel
    Bands = <
      item
        Width = 50
      end
      item
        Text = 'b'
      end>
    Picture.Data = {
      0A0B
      ff}
    object Label1: TLabel
      Caption = 'x'
    end
  end
end

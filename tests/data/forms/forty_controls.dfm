object Dialog0: TDialog0
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Forty controls'
  ClientHeight = 560
  ClientWidth = 640
  Color = clBtnFace
  Font.Name = 'Tahoma'
  Font.Height = -11
  Font.Style = []
  Position = poScreenCenter
  object Header: TPanel
    Left = 0
    Top = 0
    Width = 640
    Height = 58
    Align = alTop
    BevelOuter = bvNone
    Color = clWhite
    TabOrder = 0
    object Title: TLabel
      Left = 16
      Top = 10
      Caption = 'Title of the dialog'
      Font.Style = [fsBold]
    end
    object Subtitle: TLabel
      Left = 24
      Top = 30
      Caption = 'What this step does'
    end
  end
  object Label0: TLabel
    Left = 8
    Top = 64
    Caption = 'Field 0:'
  end
  object Edit1: TEdit
    Left = 120
    Top = 77
    Width = 300
    Height = 21
    Hint = 'VALUE1'
    MaxLength = 260
    TabOrder = 2
    Text = 'C:\Program Files\Sample'
    OnChange = Edit1Change
  end
  object CheckBox2: TCheckBox
    Left = 120
    Top = 90
    Width = 200
    Height = 17
    Caption = 'Option 2'
    Checked = True
    State = cbChecked
    TabOrder = 3
    OnClick = CheckBox1Click
  end
  object Button3: TButton
    Left = 430
    Top = 103
    Width = 75
    Height = 25
    Caption = '&Browse...'
    TabOrder = 4
    OnClick = Button1Click
  end
  object ListBox4: TListBox
    Left = 120
    Top = 116
    Width = 200
    Height = 21
    ItemHeight = 13
    Items.Strings = (
      'First'
      'Second'
      'Third')
    TabOrder = 5
    OnClick = ListBox1Click
  end
  object ComboBox5: TComboBox
    Left = 120
    Top = 129
    Width = 200
    Height = 21
    Style = csDropDownList
    Items.Strings = (
      'Typical'
      'Complete'
      'Custom')
    TabOrder = 6
    OnChange = ComboBox1Change
  end
  object Label6: TLabel
    Left = 8
    Top = 142
    Caption = 'Field 6:'
  end
  object Edit7: TEdit
    Left = 120
    Top = 155
    Width = 300
    Height = 21
    Hint = 'VALUE7'
    MaxLength = 260
    TabOrder = 8
    Text = 'C:\Program Files\Sample'
    OnChange = Edit1Change
  end
  object CheckBox8: TCheckBox
    Left = 120
    Top = 168
    Width = 200
    Height = 17
    Caption = 'Option 8'
    Checked = True
    State = cbChecked
    TabOrder = 9
    OnClick = CheckBox1Click
  end
  object Button9: TButton
    Left = 430
    Top = 181
    Width = 75
    Height = 25
    Caption = '&Browse...'
    TabOrder = 10
    OnClick = Button1Click
  end
  object ListBox10: TListBox
    Left = 120
    Top = 194
    Width = 200
    Height = 21
    ItemHeight = 13
    Items.Strings = (
      'First'
      'Second'
      'Third')
    TabOrder = 11
    OnClick = ListBox1Click
  end
  object ComboBox11: TComboBox
    Left = 120
    Top = 207
    Width = 200
    Height = 21
    Style = csDropDownList
    Items.Strings = (
      'Typical'
      'Complete'
      'Custom')
    TabOrder = 12
    OnChange = ComboBox1Change
  end
  object Label12: TLabel
    Left = 8
    Top = 220
    Caption = 'Field 12:'
  end
  object Edit13: TEdit
    Left = 120
    Top = 233
    Width = 300
    Height = 21
    Hint = 'VALUE13'
    MaxLength = 260
    TabOrder = 14
    Text = 'C:\Program Files\Sample'
    OnChange = Edit1Change
  end
  object CheckBox14: TCheckBox
    Left = 120
    Top = 246
    Width = 200
    Height = 17
    Caption = 'Option 14'
    Checked = True
    State = cbChecked
    TabOrder = 15
    OnClick = CheckBox1Click
  end
  object Button15: TButton
    Left = 430
    Top = 259
    Width = 75
    Height = 25
    Caption = '&Browse...'
    TabOrder = 16
    OnClick = Button1Click
  end
  object ListBox16: TListBox
    Left = 120
    Top = 272
    Width = 200
    Height = 21
    ItemHeight = 13
    Items.Strings = (
      'First'
      'Second'
      'Third')
    TabOrder = 17
    OnClick = ListBox1Click
  end
  object ComboBox17: TComboBox
    Left = 120
    Top = 285
    Width = 200
    Height = 21
    Style = csDropDownList
    Items.Strings = (
      'Typical'
      'Complete'
      'Custom')
    TabOrder = 18
    OnChange = ComboBox1Change
  end
  object Label18: TLabel
    Left = 8
    Top = 298
    Caption = 'Field 18:'
  end
  object Edit19: TEdit
    Left = 120
    Top = 311
    Width = 300
    Height = 21
    Hint = 'VALUE19'
    MaxLength = 260
    TabOrder = 20
    Text = 'C:\Program Files\Sample'
    OnChange = Edit1Change
  end
  object CheckBox20: TCheckBox
    Left = 120
    Top = 324
    Width = 200
    Height = 17
    Caption = 'Option 20'
    Checked = True
    State = cbChecked
    TabOrder = 21
    OnClick = CheckBox1Click
  end
  object Button21: TButton
    Left = 430
    Top = 337
    Width = 75
    Height = 25
    Caption = '&Browse...'
    TabOrder = 22
    OnClick = Button1Click
  end
  object ListBox22: TListBox
    Left = 120
    Top = 350
    Width = 200
    Height = 21
    ItemHeight = 13
    Items.Strings = (
      'First'
      'Second'
      'Third')
    TabOrder = 23
    OnClick = ListBox1Click
  end
  object ComboBox23: TComboBox
    Left = 120
    Top = 363
    Width = 200
    Height = 21
    Style = csDropDownList
    Items.Strings = (
      'Typical'
      'Complete'
      'Custom')
    TabOrder = 24
    OnChange = ComboBox1Change
  end
  object Label24: TLabel
    Left = 8
    Top = 376
    Caption = 'Field 24:'
  end
  object Edit25: TEdit
    Left = 120
    Top = 389
    Width = 300
    Height = 21
    Hint = 'VALUE25'
    MaxLength = 260
    TabOrder = 26
    Text = 'C:\Program Files\Sample'
    OnChange = Edit1Change
  end
  object CheckBox26: TCheckBox
    Left = 120
    Top = 402
    Width = 200
    Height = 17
    Caption = 'Option 26'
    Checked = True
    State = cbChecked
    TabOrder = 27
    OnClick = CheckBox1Click
  end
  object Button27: TButton
    Left = 430
    Top = 415
    Width = 75
    Height = 25
    Caption = '&Browse...'
    TabOrder = 28
    OnClick = Button1Click
  end
  object ListBox28: TListBox
    Left = 120
    Top = 428
    Width = 200
    Height = 21
    ItemHeight = 13
    Items.Strings = (
      'First'
      'Second'
      'Third')
    TabOrder = 29
    OnClick = ListBox1Click
  end
  object ComboBox29: TComboBox
    Left = 120
    Top = 441
    Width = 200
    Height = 21
    Style = csDropDownList
    Items.Strings = (
      'Typical'
      'Complete'
      'Custom')
    TabOrder = 30
    OnChange = ComboBox1Change
  end
  object Label30: TLabel
    Left = 8
    Top = 454
    Caption = 'Field 30:'
  end
  object Edit31: TEdit
    Left = 120
    Top = 467
    Width = 300
    Height = 21
    Hint = 'VALUE31'
    MaxLength = 260
    TabOrder = 32
    Text = 'C:\Program Files\Sample'
    OnChange = Edit1Change
  end
  object CheckBox32: TCheckBox
    Left = 120
    Top = 480
    Width = 200
    Height = 17
    Caption = 'Option 32'
    Checked = True
    State = cbChecked
    TabOrder = 33
    OnClick = CheckBox1Click
  end
  object Button33: TButton
    Left = 430
    Top = 493
    Width = 75
    Height = 25
    Caption = '&Browse...'
    TabOrder = 34
    OnClick = Button1Click
  end
  object ListBox34: TListBox
    Left = 120
    Top = 506
    Width = 200
    Height = 21
    ItemHeight = 13
    Items.Strings = (
      'First'
      'Second'
      'Third')
    TabOrder = 35
    OnClick = ListBox1Click
  end
  object ComboBox35: TComboBox
    Left = 120
    Top = 519
    Width = 200
    Height = 21
    Style = csDropDownList
    Items.Strings = (
      'Typical'
      'Complete'
      'Custom')
    TabOrder = 36
    OnChange = ComboBox1Change
  end
  object Label36: TLabel
    Left = 8
    Top = 532
    Caption = 'Field 36:'
  end
end

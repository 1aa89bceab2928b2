object F: TForm
  A = [x, y]
  B = <
    item
      C = 1.5E3
    end>
  D = ( #65 + #66 $10 )
end

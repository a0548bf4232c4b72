-- Integer loops: arithmetic, bit operations and a remainder in a tight loop.
local s = 0
for i = 0, 24000000 - 1 do
  s = (s + i * 7 + (i % 13)) & 0xFFFFFF
end
print("loops " .. s)

-- Array fill and sort: pseudo-random numbers stored as text, sorted in byte
-- order, then folded into a checksum.
local a = {}
local x = 12345
for i = 0, 300000 - 1 do
  x = (x * 1103515245 + 12345) & 0x7FFFFFFF
  a[i + 1] = tostring(x % 100000)
end
table.sort(a)
local h = 0
for i = 1, 300000 do
  h = (h * 31 + tonumber(a[i])) & 0xFFFFFF
end
print("arrays " .. a[1] .. " " .. a[300000] .. " " .. h)

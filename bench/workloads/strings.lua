-- String building and slicing: a text built one character at a time, then
-- cut into slices that are compared and measured.
local s = ""
for i = 0, 20000 - 1 do
  s = s .. string.char(65 + i % 26)
end
local hits = 0
local total = 0
for i = 0, 3000000 - 1 do
  local p = (i * 97) % 19990
  local t = s:sub(p + 1, p + 5)
  if t == "ABCDE" then
    hits = hits + 1
  end
  total = total + #t + #t:sub(1, 2)
end
print("strings " .. #s .. " " .. hits .. " " .. total)

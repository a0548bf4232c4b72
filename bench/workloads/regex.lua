-- Regular-expression replacement: every word-number pair of a text swapped,
-- many times over.
local text = ""
for i = 0, 2000 - 1 do
  text = text .. string.char(97 + i % 26) .. string.char(97 + i * 7 % 26) .. (i * 13 % 1000) .. " "
end
local total = 0
local out
for r = 0, 2000 - 1 do
  out = text:gsub("(%l+)(%d+)", "%2%1")
  total = total + #out
end
print("regex " .. total .. " " .. out:sub(1, 30))

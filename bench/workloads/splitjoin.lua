-- Split/join text processing: a comma-separated line cut into words, the
-- words counted and changed, and joined again with another separator.
local line = "w0"
for i = 1, 3000 - 1 do
  line = line .. ",w" .. (i * 37 % 1000)
end
local total = 0
local ones = 0
local joined
for r = 0, 600 - 1 do
  local parts = {}
  for word in line:gmatch("[^,]+") do
    parts[#parts + 1] = word
  end
  local n = #parts
  for j = 1, n do
    if parts[j]:sub(1, 2) == "w1" then
      ones = ones + 1
      parts[j] = "x" .. (j - 1)
    end
  end
  joined = table.concat(parts, ";")
  total = total + n + #joined
end
print("splitjoin " .. total .. " " .. ones .. " " .. joined:sub(1, 24))

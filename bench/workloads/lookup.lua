-- String keys: an array of 2000 texts, sorted, then searched by halving for
-- 200 000 texts, about one in five of which it holds; the finds are counted.
local keys = {}
for i = 0, 2000 - 1 do
  keys[i + 1] = "key" .. (i * 7919 % 10007)
end
table.sort(keys)
local found = 0
local sum = 0
for q = 0, 200000 - 1 do
  local want = "key" .. (q * 31 % 4003)
  local lo = 1
  local hi = 2000
  while lo <= hi do
    local m = (lo + hi) // 2
    local k = keys[m]
    if k == want then
      found = found + 1
      sum = sum + (m - 1)
      break
    end
    if k < want then
      lo = m + 1
    else
      hi = m - 1
    end
  end
end
print("lookup " .. found .. " " .. sum)

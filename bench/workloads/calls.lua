-- Many small functions: four little functions of one to three parameters,
-- called 6 million times in all from one loop.
local function square(x)
  return x * x
end
local function add3(a, b, c)
  return a + b + c
end
local function clampTo(v, lo, hi)
  if v < lo then
    return lo
  end
  if v > hi then
    return hi
  end
  return v
end
local function mix(acc, v)
  return (acc * 31 + v) & 0xFFFFF
end
local h = 0
for i = 0, 1500000 - 1 do
  h = mix(h, add3(square(i % 100), clampTo(i % 37, 5, 30), 1))
end
print("calls " .. h)

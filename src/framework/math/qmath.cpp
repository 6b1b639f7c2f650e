// Math library of the framework (fixed point, trigonometry, vectors,
// matrices, quaternions, random numbers, integer geometry).

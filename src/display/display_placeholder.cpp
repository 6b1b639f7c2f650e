// Placeholder translation unit until the display library has sources.

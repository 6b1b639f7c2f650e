// Placeholder translation unit until the shell has sources.

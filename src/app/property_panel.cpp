// Filled in by the shell work.

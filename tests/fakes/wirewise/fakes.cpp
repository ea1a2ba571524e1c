// Keeps the fakes library non-empty while every fake is header-only.

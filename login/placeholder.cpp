// Keeps the library non-empty until its modules land.

// Keeps the fakes library non-empty while a family of fakes is being written.
int LqFakesAnchor() { return 0; }

// Keeps the resource library non-empty before any resource folder exists.

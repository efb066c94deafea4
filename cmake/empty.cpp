// Keeps a library or program valid while its folder has no sources yet.

// (filled in by the Win32 backend work)

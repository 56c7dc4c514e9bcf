#pragma once

// What an optical drive answers when asked for its state (CDROM_DRIVE_STATUS), or why
// it could not be asked.
struct DriveStatus {
    enum Code { NoInfo = 0, NoDisc = 1, TrayOpen = 2, NotReady = 3, DiscOk = 4 };

    int error = 0; // errno of opening or asking the drive; 0 when it answered
    int code = NoInfo;

    // A disc is in and can be read. "Not ready" means it is still spinning up.
    bool ready() const { return error == 0 && code == DiscOk; }
};

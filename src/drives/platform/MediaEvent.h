#pragma once

#include <QMetaType>
#include <QtGlobal>

// A medium arrived in or left some drives. Shaped like the broadcast the drive list has
// always reacted to, so its rules apply unchanged.
struct MediaEvent {
    enum class Kind { Arrival, RemoveComplete, Other };
    enum class DeviceType { Volume, Other };

    Kind event = Kind::Other;
    DeviceType deviceType = DeviceType::Other;
    bool mediaFlag = false;
    // Bit 0 is drive a, bit 25 drive z.
    quint32 unitMask = 0;

    // The bit of a drive letter in either case; 0 for anything else.
    static quint32 unitBit(char letter)
    {
        if (letter >= 'A' && letter <= 'Z')
            letter = char(letter - 'A' + 'a');
        return letter >= 'a' && letter <= 'z' ? 1u << (letter - 'a') : 0u;
    }
};

Q_DECLARE_METATYPE(MediaEvent)

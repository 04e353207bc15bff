// A table with private hands, seat keys numbered from 0x41 and a games folder, and players
// that join as our program does.
#pragma once

#include "dealer_test_util.h"
#include "extension.h"

struct PrivateTable : TTableFixture {
    int keysGiven = 0;

    void SetUp() override
    {
        openHands = false;
        gamesFolder = folder.filePath(QStringLiteral("games"));
        seatKeys = [this] {
            TSeatKey key{};
            key.fill(uint8_t(0x40 + ++keysGiven));
            return key;
        };
    }

    // Joins as our program does: the name, then the block with the key to take back.
    TLocalPlayer& JoinOurs(const QString& name, const QString& host, const TSeatKey& key = {})
    {
        const int seats = dealer->SeatCount();
        TLocalPlayer& p = Join(name, false, host);
        TJoinExtension e;
        e.Flags = TJoinExtension::kKnowsMessages;
        e.Key = key;
        p.SendRaw(JOIN_REQUEST, TPayloadWriter().Text(name).Bytes() + JoinExtensionBytes(e));
        WaitFor([&] { return p.Count(JOIN_ACCEPTED) > 0 && p.Count(SEAT_NAME) > std::min(seats, 3); }, 5000);
        return p;
    }

    static TJoinExtension Block(const TTestPlayer& p)
    {
        TJoinExtension e;
        for (const TReceived& r : p.Received)
            if (r.Type == JOIN_ACCEPTED)
                ReadJoinAcceptedExtension(reinterpret_cast<const uint8_t*>(r.Payload.constData()),
                                          int32_t(r.Payload.size()), e);
        return e;
    }

    static int ExtensionMessages(const TTestPlayer& p)
    {
        return int(std::count_if(p.Received.begin(), p.Received.end(), [](const TReceived& r) { return IsExtensionMessage(r.Type); }));
    }
};

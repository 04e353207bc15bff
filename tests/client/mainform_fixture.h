// The main window without a network, its questions answered by a scripted user and the
// messages it sends logged; records and other messages delivered as if from the dealer.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "client_test_util.h"
#include "commands.h"
#include "computerforme.h"
#include "mainform.h"
#include "menus.h"
#include "seatmodel.h"
#include "settings.h"
#include "tableview.h"
#include "payload.h"

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSettings();
        form = std::make_unique<TMainForm>();
        form->SetPrompts(&user);
        form->SetAutoStart(false);
        form->FirstActivation();
        QObject::connect(&form->Session(), &TSession::sent, [this](TPacketType t) { sent.types.push_back(t); });
        form->show();
    }
    void TearDown() override { form.reset(); }

    void Deliver(TPacketType type, const QByteArray& payload)
    {
        form->Session().HandlePacket(type, payload);
    }
    void Seat(int seat) { Deliver(JOIN_ACCEPTED, JoinAcceptedPayload(uint8_t(seat), QStringLiteral("x"))); }
    void Record(const TGameInfo& g) { Deliver(GAME_RECORD, RecordPayload(g)); }

    TScriptedUser user;
    TSentLog sent;
    std::unique_ptr<TMainForm> form;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/ConnectedServiceFixture.h"

#include "TessarineData.h"

#include <string>

using namespace Tessarine::TessarineData;

ConnectedServiceFixture::ConnectedServiceFixture()
{
    dataListener.onDataChanged = [this] { ++dataChanges; };
    service->addListener (&dataListener);
}

ConnectedServiceFixture::~ConnectedServiceFixture()
{
    // As the application shuts down: the service's worker first, so no
    // completion callback outlives what it reaches, then the connection.
    service->removeListener (&dataListener);
    service->shutdown();
    service.reset();
    connection.reset();
}

void ConnectedServiceFixture::attachAndSettle()
{
    connection = std::make_unique<TestSupport::PedalConnection> (pedal, timeouts);
    ASSERT_TRUE (connection->isConnected());
    ASSERT_TRUE (attachAndAwaitStatusRequest ([&] { return service->connect (&connection->protocol()); }));
    ASSERT_TRUE (waitForIdle());
}

void ConnectedServiceFixture::detach()
{
    service->disconnect();
    connection.reset();
}

bool ConnectedServiceFixture::waitForIdle()
{
    if (! waitFor ([&] { return service->getState() == State::Idle; }))
        return false;

    // Idle may be set by a task with steps still to go; a refresh queued now
    // runs after it and notifies twice at its very end.
    const int before = dataChanges;
    return service->requestRefreshCurrentPreset() && waitFor ([&] { return dataChanges >= before + 2; })
        && service->getState() == State::Idle;
}

std::vector<uint8_t> ConnectedServiceFixture::storedBytes (uint32_t type, uint32_t index) const
{
    const auto block = pedal.storedBlock (type, index);
    return block ? *block : std::vector<uint8_t>();
}

void ConnectedServiceFixture::fillPedal()
{
    for (uint32_t p = 0; p < 9; ++p)
    {
        // Preset-scope parameters the editor knows (boost drive 2, tone 3),
        // and the amp of each preset by identifier.
        std::vector<uint8_t> params (4096);
        ParamMap map { { 2, 0x3E000000u + p }, { 3, 0x3F000000u + p } };
        encodeParamPairs (params.data(), map);
        pedal.setBlock (presetBlock, p, params);

        std::vector<uint8_t> ampName (kNumberedNameBlockSize);
        AmpNameAndID amp;
        amp.id = p % 2 == 0 ? 10 : 993;
        amp.name = p % 2 == 0 ? "Plexi" : "Power KT88";
        encodeNumberedName (ampName.data(), amp);
        pedal.setBlock (ampNameBlock, p, ampName);

        std::vector<uint8_t> cabName (kNameBlockSize);
        encodeName (cabName.data(), "Cab " + std::to_string (p));
        pedal.setBlock (cabNameBlock, p, cabName);

        std::vector<uint8_t> cabData (kImpulseBlockSize, 0);
        writeWord (cabData.data() + 4 * p, 0x3F800000u);
        pedal.setBlock (cabDataBlock, p, cabData);
    }

    std::vector<uint8_t> globals (kParamListSize);
    encodeParamList (globals.data(), { { 256, 0x3F000000u }, { 257, 0x40000000u } });
    pedal.setBlock (globalsBlock, 0, globals);
}

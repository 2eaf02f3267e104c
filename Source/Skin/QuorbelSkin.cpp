// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuorbelSkin.h"

#include <memory>
#include <utility>

namespace
{
std::unique_ptr<SkinArchive> archive;
} // namespace

bool QuorbelSkin::load (std::function<bool (unsigned int, unsigned long, void*)> read)
{
    archive = std::make_unique<SkinArchive> (std::move (read));

    if (! archive->open())
        return false;

    for (uint32_t id = 0; id < kImageCount; ++id)
        archive->addImage (id, getFileName (id));

    return true;
}

juce::Image QuorbelSkin::getImage (ImageID id)
{
    // Widgets may be built before load (in tests, for one): no skin, no images.
    return archive != nullptr ? archive->getImage (id) : juce::Image();
}

void QuorbelSkin::release()
{
    if (archive != nullptr)
        archive->clear();
}

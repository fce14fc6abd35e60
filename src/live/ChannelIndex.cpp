#include "ChannelIndex.h"

namespace {

SectionPtr orEmpty(SectionPtr section)
{
    return section ? std::move(section) : std::make_shared<const Section>();
}

} // namespace

std::shared_ptr<const ChannelIndex> ChannelIndex::build(SectionPtr section)
{
    section = orEmpty(std::move(section));
    SectionLookupsPtr lookups = SectionLookups::build(section->all);
    return std::make_shared<const ChannelIndex>(ChannelIndex { std::move(section), std::move(lookups) });
}

QCoro::Task<std::shared_ptr<const ChannelIndex>> ChannelIndex::of(SectionPtr section)
{
    section = orEmpty(std::move(section));
    SectionLookupsPtr lookups = co_await SectionLookups::of(section);
    co_return std::make_shared<const ChannelIndex>(ChannelIndex { std::move(section), std::move(lookups) });
}

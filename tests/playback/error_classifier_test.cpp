#include "FakeBackends.h"

#include <gtest/gtest.h>

namespace {

using Domain = PlayError::Domain;
using namespace PlayErrorCode;

struct ClassifierCase {
    const char *name;
    bool catchup;
    std::optional<PlayError> error;
    const char *key;
};

class ErrorClassifierTest : public ::testing::TestWithParam<ClassifierCase>
{
};

TEST_P(ErrorClassifierTest, FirstMatchingRuleWins)
{
    PlayItem item = movieItem();
    item.catchup = GetParam().catchup;
    EXPECT_EQ(PlayerEngine::errorMessageKey(GetParam().error, item), GetParam().key);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ErrorClassifierTest,
    ::testing::Values(
        ClassifierCase{ "catchup_any_error", true, PlayError{ Domain::url, { kHttpForbidden } }, "perr_catchup" },
        ClassifierCase{ "catchup_no_error", true, std::nullopt, "perr_catchup" },
        ClassifierCase{ "no_error", false, std::nullopt, "perr_generic" },
        ClassifierCase{ "media_not_found", false, PlayError{ Domain::media, { kMediaNotFound } }, "perr_not_found" },
        ClassifierCase{ "underlying_404_in_url_domain", false, PlayError{ Domain::url, { kTimedOut, 7, kHttpNotFound } },
                        "perr_not_found" },
        ClassifierCase{ "file_missing", false, PlayError{ Domain::url, { kFileDoesNotExist } }, "perr_not_found" },
        ClassifierCase{ "forbidden_underlying", false, PlayError{ Domain::media, { 1, kMediaForbidden } }, "perr_denied" },
        ClassifierCase{ "unauthorized", false, PlayError{ Domain::other, { kHttpUnauthorized } }, "perr_denied" },
        ClassifierCase{ "not_found_before_denied", false, PlayError{ Domain::other, { kHttpForbidden, kHttpNotFound } },
                        "perr_not_found" },
        ClassifierCase{ "url_domain_any_code", false, PlayError{ Domain::url, { kFormatNotRecognized } }, "perr_network" },
        ClassifierCase{ "url_domain_no_code", false, PlayError{ Domain::url, {} }, "perr_network" },
        ClassifierCase{ "format_codes", false, PlayError{ Domain::media, { 3, kPlaylistParse } }, "perr_format" },
        ClassifierCase{ "format_before_network", false, PlayError{ Domain::media, { kNotConnected, kDecodeFailed } },
                        "perr_format" },
        ClassifierCase{ "network_underlying", false, PlayError{ Domain::media, { 9, kConnectionLost } }, "perr_network" },
        ClassifierCase{ "unknown_code", false, PlayError{ Domain::other, { 12345 } }, "perr_generic" }),
    [](const auto &info) { return std::string(info.param.name); });

}

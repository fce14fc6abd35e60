#include "app/WebAddress.h"

#include <gtest/gtest.h>

namespace {

TEST(WebAddress, OnlyWebPagesWithAHost)
{
    const std::pair<const char *, const char *> cases[]
        = { { "https://zelfor.example/manage", "https://zelfor.example/manage" },
              { "http://127.0.0.1:8787", "http://127.0.0.1:8787" }, { "file:///etc/passwd", nullptr },
              { "smb://nas/share", nullptr }, { "zelfor-helper:run?x=1", nullptr },
              { "javascript:alert(1)", nullptr }, { "http://", nullptr }, { "https:///path", nullptr },
              { "not an address", nullptr }, { "", nullptr } };
    for (const auto &[address, url] : cases) {
        const std::optional<QUrl> page = webPageUrl(QString::fromUtf8(address));
        EXPECT_EQ(page, url ? std::optional(QUrl(QString::fromUtf8(url))) : std::nullopt) << address;
    }
}

// A support address adds no recipients, headers or body to the mail.
TEST(WebAddress, MailOnlyToOnePlainAddress)
{
    const std::pair<const char *, const char *> cases[]
        = { { "help@zelfor.example", "mailto:help@zelfor.example" },
              { "fa\xC3\xA7ile@exemple.fr", "mailto:fa%C3%A7ile@exemple.fr" },
              { "x@y.z?bcc=spy@evil.example", nullptr }, { "x@y.z&body=hi", nullptr }, { "x%40y@z", nullptr },
              { "a@b.c,d@e.f", nullptr }, { "a@b.c;d@e.f", nullptr }, { "two words@x.org", nullptr },
              { "x@y.z\nBcc: spy@evil.example", nullptr }, { "a@b@c", nullptr }, { "@y.z", nullptr },
              { "x@", nullptr }, { "no-at-sign", nullptr }, { "", nullptr } };
    for (const auto &[email, url] : cases) {
        const std::optional<QUrl> mail = mailtoUrl(QString::fromUtf8(email));
        ASSERT_EQ(mail.has_value(), url != nullptr) << email;
        if (mail)
            EXPECT_EQ(mail->toEncoded(), QByteArray(url)) << email;
    }
}

} // namespace

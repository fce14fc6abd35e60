#include "GstNetworkSources.h"

#include "NetworkStream.h"

#include <QByteArrayList>

#include <gst/base/gstbasesrc.h>
#include <gst/gst.h>

#include <vector>

namespace {

constexpr const char *kRefusal = "refused a source off the network";

// The schemes of the elements taken out, claimed by the refusing element.
struct RefusedSchemes {
    QByteArrayList names;
    std::vector<const gchar *> list { nullptr };
};

RefusedSchemes &refusedSchemes()
{
    static RefusedSchemes schemes;
    return schemes;
}

// The element in place of every source off the network: it keeps its address and fails its
// stream at the first read, having read nothing. It starts and stops as any source does.
struct RefusingSource {
    GstBaseSrc source;
    gchar *uri;
};

struct RefusingSourceClass {
    GstBaseSrcClass parentClass;
};

GObjectClass *refusingParent = nullptr;
GstStaticPadTemplate refusingPad
    = GST_STATIC_PAD_TEMPLATE("src", GST_PAD_SRC, GST_PAD_ALWAYS, GST_STATIC_CAPS_ANY);

void finalizeRefusing(GObject *object)
{
    g_free(reinterpret_cast<RefusingSource *>(object)->uri);
    refusingParent->finalize(object);
}

void initRefusingClass(gpointer klass, gpointer)
{
    refusingParent = G_OBJECT_CLASS(g_type_class_peek_parent(klass));
    G_OBJECT_CLASS(klass)->finalize = finalizeRefusing;
    GST_BASE_SRC_CLASS(klass)->create = [](GstBaseSrc *source, guint64, guint, GstBuffer **) {
        GST_ELEMENT_ERROR(source, STREAM, WRONG_TYPE, ("%s", kRefusal),
            ("%s", reinterpret_cast<RefusingSource *>(source)->uri));
        return GST_FLOW_ERROR;
    };
    gst_element_class_set_static_metadata(GST_ELEMENT_CLASS(klass), "Network only", "Source",
        "Refuses every address off the network", "Zelfor");
    gst_element_class_add_static_pad_template(GST_ELEMENT_CLASS(klass), &refusingPad);
}

void initRefusingHandler(gpointer interface, gpointer)
{
    auto *handler = static_cast<GstURIHandlerInterface *>(interface);
    handler->get_type = [](GType) { return GST_URI_SRC; };
    handler->get_protocols = [](GType) -> const gchar *const * { return refusedSchemes().list.data(); };
    handler->get_uri
        = [](GstURIHandler *source) { return g_strdup(reinterpret_cast<RefusingSource *>(source)->uri); };
    handler->set_uri = [](GstURIHandler *source, const gchar *uri, GError **) -> gboolean {
        auto *self = reinterpret_cast<RefusingSource *>(source);
        g_free(self->uri);
        self->uri = g_strdup(uri);
        return TRUE;
    };
}

GType refusingSourceType()
{
    const GType type = g_type_register_static_simple(GST_TYPE_BASE_SRC, "ZelforRefusingSource",
        sizeof(RefusingSourceClass), initRefusingClass, sizeof(RefusingSource), nullptr, GTypeFlags(0));
    const GInterfaceInfo handler { initRefusingHandler, nullptr, nullptr };
    g_type_add_interface_static(type, GST_TYPE_URI_HANDLER, &handler);
    return type;
}

bool readsNetworkOnly(GstElementFactory *factory)
{
    const gchar *const *protocols = gst_element_factory_get_uri_protocols(factory);
    if (!protocols)
        return false;
    for (; *protocols; ++protocols)
        if (!isNetworkScheme(QString::fromUtf8(*protocols)))
            return false;
    return true;
}

void noteRefusedSchemes(GstElementFactory *factory)
{
    RefusedSchemes &schemes = refusedSchemes();
    const gchar *const *protocols = gst_element_factory_get_uri_protocols(factory);
    for (; protocols && *protocols; ++protocols)
        if (!schemes.names.contains(*protocols))
            schemes.names.append(*protocols);
}

// A plugin loaded later would register its elements again: each one is loaded before it
// is taken out.
void removeFactory(GstRegistry *registry, GstPluginFeature *feature)
{
    if (GstPluginFeature *loaded = gst_plugin_feature_load(feature)) {
        gst_registry_remove_feature(registry, loaded);
        gst_object_unref(loaded);
        return;
    }
    gst_registry_remove_feature(registry, feature);
}

void replaceLocalSources()
{
    GstRegistry *registry = gst_registry_get();
    GList *features = gst_registry_get_feature_list(registry, GST_TYPE_ELEMENT_FACTORY);
    for (GList *entry = features; entry; entry = entry->next) {
        auto *factory = GST_ELEMENT_FACTORY(entry->data);
        if (gst_element_factory_get_uri_type(factory) != GST_URI_SRC || readsNetworkOnly(factory))
            continue;
        noteRefusedSchemes(factory);
        removeFactory(registry, GST_PLUGIN_FEATURE(factory));
    }
    gst_plugin_feature_list_free(features);
    RefusedSchemes &schemes = refusedSchemes();
    schemes.list.clear();
    for (const QByteArray &name : schemes.names)
        schemes.list.push_back(name.constData());
    schemes.list.push_back(nullptr);
    gst_element_register(nullptr, "zelfornetworkonly", GST_RANK_PRIMARY, refusingSourceType());
}

} // namespace

void keepOnlyNetworkSources()
{
    [[maybe_unused]] static const bool done = (replaceLocalSources(), true);
}

bool readsOffNetwork(GstElement *element)
{
    if (!GST_IS_URI_HANDLER(element) || gst_uri_handler_get_uri_type(GST_URI_HANDLER(element)) != GST_URI_SRC)
        return false;
    gchar *uri = gst_uri_handler_get_uri(GST_URI_HANDLER(element));
    gchar *scheme = uri ? gst_uri_get_protocol(uri) : nullptr;
    const bool offNetwork = uri && !(scheme && isNetworkScheme(QString::fromUtf8(scheme)));
    g_free(scheme);
    g_free(uri);
    return offNetwork;
}

void refuseSource(GstElement *pipeline, GstElement *source)
{
    GError *error = g_error_new_literal(GST_STREAM_ERROR, GST_STREAM_ERROR_WRONG_TYPE, kRefusal);
    gchar *uri = gst_uri_handler_get_uri(GST_URI_HANDLER(source));
    gst_element_post_message(pipeline, gst_message_new_error(GST_OBJECT(pipeline), error, uri));
    g_free(uri);
    g_error_free(error);
}

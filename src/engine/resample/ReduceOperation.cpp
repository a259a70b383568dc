#include "engine/resample/ReduceOperation.h"

#include "engine/resample/ReduceAxis.h"
#include "engine/resample/ReducePasses.h"

#include <exception>
#include <new>

namespace {

using voveriz::resample::ReduceAxis;
using voveriz::resample::ReduceScratch;

struct VoverizReduce {
    VipsOperation parent_instance;
    VipsImage* in;
    VipsImage* out;
    double shrink;
    gboolean vertical;
    double smoothing;
    ReduceAxis* axis;  // made by build
};
using VoverizReduceClass = VipsOperationClass;

G_DEFINE_TYPE(VoverizReduce, voveriz_reduce, VIPS_TYPE_OPERATION)

constexpr const char* kNickname = "voveriz_reduce";

// One thread's sequence: a region on the input and working memory kept from region to region.
struct Sequence {
    VipsRegion* in = nullptr;
    ReduceScratch scratch;
};

void* startSequence(VipsImage*, void* a, void*)
{
    auto* sequence = new (std::nothrow) Sequence;
    if (!sequence) return nullptr;
    if (!(sequence->in = vips_region_new(static_cast<VipsImage*>(a)))) {
        delete sequence;
        return nullptr;
    }
    return sequence;
}

int stopSequence(void* vsequence, void*, void*)
{
    auto* sequence = static_cast<Sequence*>(vsequence);
    VIPS_UNREF(sequence->in);
    delete sequence;
    return 0;
}

int generate(VipsRegion* out, void* vsequence, void*, void* b, gboolean*)
{
    auto* sequence = static_cast<Sequence*>(vsequence);
    const auto* reduce = static_cast<const VoverizReduce*>(b);
    try {
        return reduce->vertical ? reduceVertically(out, sequence->in, *reduce->axis, sequence->scratch)
                                : reduceHorizontally(out, sequence->in, *reduce->axis, sequence->scratch);
    } catch (const std::exception& e) {  // out of memory for the working buffers
        vips_error(kNickname, "%s", e.what());
        return -1;
    }
}

int build(VipsObject* object)
{
    auto* reduce = reinterpret_cast<VoverizReduce*>(object);
    g_object_set(object, "out", vips_image_new(), nullptr);
    if (VIPS_OBJECT_CLASS(voveriz_reduce_parent_class)->build(object)) return -1;

    VipsImage* in = reduce->in;
    if (in->Coding != VIPS_CODING_NONE || in->BandFmt != VIPS_FORMAT_UCHAR || in->Bands < 1 || in->Bands > 4) {
        vips_error(kNickname, "%s", "needs an uncoded 8-bit image of 1 to 4 bands");
        return -1;
    }
    try {
        reduce->axis = new ReduceAxis(reduce->vertical ? in->Ysize : in->Xsize, reduce->shrink, reduce->smoothing);
    } catch (const std::exception& e) {
        vips_error(kNickname, "%s", e.what());
        return -1;
    }
    const ReduceAxis& axis = *reduce->axis;
    if (!axis.reduces() && axis.box() == 1) return vips_image_write(in, reduce->out);  // a shrink of 1

    auto** t = reinterpret_cast<VipsImage**>(vips_object_local_array(object, 2));
    t[0] = vips_image_new();
    // The demand hint of libvips's own chain: shrinkv asks for small tiles, the rest for strips.
    // It sets the tiles the output is made in, and so where each region's positions start.
    const VipsDemandStyle hint =
        reduce->vertical && axis.box() > 1 ? VIPS_DEMAND_STYLE_SMALLTILE : VIPS_DEMAND_STYLE_THINSTRIP;
    if (vips_image_pipelinev(t[0], hint, in, nullptr)) return -1;
    // Every header field, resolution included, stays the input's, as libvips's reduce leaves them.
    const int size = axis.reduces() ? axis.outSize() : axis.boxedSize();
    (reduce->vertical ? t[0]->Ysize : t[0]->Xsize) = size;
    if (vips_image_generate(t[0], startSequence, generate, stopSequence, in, reduce)) return -1;
    if (axis.reduces()) vips_reorder_margin_hint(t[0], axis.taps());

    VipsImage* result = t[0];
    // libvips's reducev puts a line cache of 10 lines after itself on a sequential source, so the
    // next step asks for lines in order; that cache also decides the regions made here.
    if (reduce->vertical && vips_image_get_typeof(result, VIPS_META_SEQUENTIAL)) {
        if (vips_sequential(result, &t[1], "tile_height", 10, nullptr)) return -1;
        result = t[1];
    }
    return vips_image_write(result, reduce->out);
}

void finalize(GObject* object)
{
    auto* reduce = reinterpret_cast<VoverizReduce*>(object);
    delete reduce->axis;
    reduce->axis = nullptr;
    G_OBJECT_CLASS(voveriz_reduce_parent_class)->finalize(object);
}

void voveriz_reduce_class_init(VoverizReduceClass* klass)
{
    GObjectClass* gobjectClass = G_OBJECT_CLASS(klass);
    VipsObjectClass* objectClass = VIPS_OBJECT_CLASS(klass);
    gobjectClass->finalize = finalize;
    gobjectClass->set_property = vips_object_set_property;
    gobjectClass->get_property = vips_object_get_property;
    objectClass->nickname = kNickname;
    objectClass->description = "Lanczos3 reduce of an 8-bit image along one axis, as reducev and reduceh";
    objectClass->build = build;
    VIPS_OPERATION_CLASS(klass)->flags = VIPS_OPERATION_SEQUENTIAL;

    VIPS_ARG_IMAGE(klass, "in", 1, "Input", "Input image", VIPS_ARGUMENT_REQUIRED_INPUT,
                   G_STRUCT_OFFSET(VoverizReduce, in));
    VIPS_ARG_IMAGE(klass, "out", 2, "Output", "Output image", VIPS_ARGUMENT_REQUIRED_OUTPUT,
                   G_STRUCT_OFFSET(VoverizReduce, out));
    VIPS_ARG_DOUBLE(klass, "shrink", 3, "Shrink", "Reduce factor, at least 1", VIPS_ARGUMENT_REQUIRED_INPUT,
                    G_STRUCT_OFFSET(VoverizReduce, shrink), 0.0, 10000000.0, 1.0);
    VIPS_ARG_BOOL(klass, "vertical", 4, "Vertical", "Reduce the height instead of the width",
                  VIPS_ARGUMENT_OPTIONAL_INPUT, G_STRUCT_OFFSET(VoverizReduce, vertical), FALSE);
    VIPS_ARG_DOUBLE(klass, "smoothing", 5, "Smoothing", "Weight of each neighbour in a 3-tap smoothing first",
                    VIPS_ARGUMENT_OPTIONAL_INPUT, G_STRUCT_OFFSET(VoverizReduce, smoothing), 0.0, 0.25, 0.0);
}

void voveriz_reduce_init(VoverizReduce*) {}

}  // namespace

namespace voveriz::resample {

vips::VImage reduceAxis(const vips::VImage& in, double shrink, bool vertical, double smoothing)
{
    voveriz_reduce_get_type();  // registers the operation once, so its nickname is found
    vips::VImage out;
    vips::VImage::call(kNickname,
                       vips::VImage::option()->set("in", in)->set("out", &out)->set("shrink", shrink)->set(
                           "vertical", vertical)->set("smoothing", smoothing));
    return out;
}

}  // namespace voveriz::resample

# Product data compiled into the editor, made by tools of ours at build time
# (never checked-in blobs):
#   - the 24 built-in amp-model texts, written with the data-file writer from
#     deterministic code (tools/ProductData),
#   - the 115,480-byte DSP firmware image. The maker's image is not ours to
#     ship, so by default a placeholder with our marker is built in, which the
#     editor recognises and never sends to a pedal. A packager who has the
#     real image (stored bit-reversed, as in a .ldr file) names it here.
set(TQ_FIRMWARE_IMAGE "" CACHE FILEPATH
    "DSP firmware image to build in (115480 bytes, stored bit-reversed like a .ldr file); empty builds in the placeholder")

add_subdirectory("${PROJECT_SOURCE_DIR}/tools/ProductData" "${PROJECT_BINARY_DIR}/tools/ProductData")
add_subdirectory("${PROJECT_SOURCE_DIR}/Source/ProductData" "${PROJECT_BINARY_DIR}/Source/ProductData")

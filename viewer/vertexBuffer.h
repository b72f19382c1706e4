// Vertices kept by GL, uploaded once and drawn in ranges.
//
//   RangeList     runs of consecutive vertices to draw in one call: add()
//                 extends the previous run when the new one continues it (for
//                 points and separate lines), addStrip() keeps each run apart
//                 (for line strips).
//   VertexBuffer  positions (and, when given, normals) in GL buffers;
//                 draw() sends the listed runs with one call. The buffers
//                 belong to the GL context current when they were filled.
#pragma once

#include <GL/gl.h>

#include <vector>

#include "zvtrack.h"

struct RangeList {
    std::vector<GLint> firsts;
    std::vector<GLsizei> counts;

    void add(size_t first, size_t count);
    void addStrip(size_t first, size_t count);
    void clear();
    bool empty() const { return firsts.empty(); }
};

class VertexBuffer {
public:
    VertexBuffer() = default;
    VertexBuffer(const VertexBuffer&) = delete;
    VertexBuffer& operator=(const VertexBuffer&) = delete;
    ~VertexBuffer();

    // Replaces the contents; normals is empty or one per position.
    void fill(const std::vector<Point3D>& positions, const std::vector<Point3D>& normals = {});
    void draw(GLenum mode, const RangeList& ranges) const;
    void drawAll(GLenum mode) const;
    size_t size() const { return count_; }

private:
    static void upload(const std::vector<Point3D>& points, GLuint* buffer);
    void bind() const;
    void unbind() const;

    GLuint positions_ = 0;
    GLuint normals_ = 0;
    size_t count_ = 0;
    bool hasNormals_ = false;
};

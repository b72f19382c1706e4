#define GL_GLEXT_PROTOTYPES
#include "vertexBuffer.h"

#include <GL/glext.h>

void RangeList::add(size_t first, size_t count) {
    if (count == 0) return;
    if (!firsts.empty() && static_cast<size_t>(firsts.back()) + counts.back() == first) {
        counts.back() += static_cast<GLsizei>(count);
        return;
    }
    addStrip(first, count);
}

void RangeList::addStrip(size_t first, size_t count) {
    firsts.push_back(static_cast<GLint>(first));
    counts.push_back(static_cast<GLsizei>(count));
}

void RangeList::clear() {
    firsts.clear();
    counts.clear();
}

VertexBuffer::~VertexBuffer() {
    if (positions_ != 0) glDeleteBuffers(1, &positions_);
    if (normals_ != 0) glDeleteBuffers(1, &normals_);
}

void VertexBuffer::fill(const std::vector<Point3D>& positions,
                        const std::vector<Point3D>& normals) {
    count_ = positions.size();
    hasNormals_ = !normals.empty();
    upload(positions, &positions_);
    if (hasNormals_) upload(normals, &normals_);
}

void VertexBuffer::upload(const std::vector<Point3D>& points, GLuint* buffer) {
    if (*buffer == 0) glGenBuffers(1, buffer);
    glBindBuffer(GL_ARRAY_BUFFER, *buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(points.size() * sizeof(Point3D)),
                 points.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void VertexBuffer::bind() const {
    glEnableClientState(GL_VERTEX_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, positions_);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    if (hasNormals_) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glBindBuffer(GL_ARRAY_BUFFER, normals_);
        glNormalPointer(GL_FLOAT, 0, nullptr);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void VertexBuffer::unbind() const {
    if (hasNormals_) glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void VertexBuffer::draw(GLenum mode, const RangeList& ranges) const {
    if (ranges.empty() || count_ == 0) return;
    bind();
    glMultiDrawArrays(mode, ranges.firsts.data(), ranges.counts.data(),
                      static_cast<GLsizei>(ranges.firsts.size()));
    unbind();
}

void VertexBuffer::drawAll(GLenum mode) const {
    if (count_ == 0) return;
    bind();
    glDrawArrays(mode, 0, static_cast<GLsizei>(count_));
    unbind();
}

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
    if (buffer_ != 0) glDeleteBuffers(1, &buffer_);
}

// Positions first, then the normals, in one buffer.
void VertexBuffer::fill(const std::vector<Point3D>& positions, const std::vector<Point3D>& normals) {
    if (buffer_ == 0) glGenBuffers(1, &buffer_);
    count_ = positions.size();
    hasNormals_ = !normals.empty();
    const GLsizeiptr positionBytes = static_cast<GLsizeiptr>(count_ * sizeof(Point3D));
    const GLsizeiptr normalBytes = static_cast<GLsizeiptr>(normals.size() * sizeof(Point3D));
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    glBufferData(GL_ARRAY_BUFFER, positionBytes + normalBytes, nullptr, GL_STATIC_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, positionBytes, positions.data());
    if (hasNormals_) glBufferSubData(GL_ARRAY_BUFFER, positionBytes, normalBytes, normals.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void VertexBuffer::bind() const {
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    if (hasNormals_) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, 0, reinterpret_cast<const void*>(count_ * sizeof(Point3D)));
    }
}

void VertexBuffer::unbind() const {
    if (hasNormals_) glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
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

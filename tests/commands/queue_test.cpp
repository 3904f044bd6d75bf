// Nodes and queues as the folder walk uses them: one node variable reused for every push.
#include "commands/queue.h"

#include <gtest/gtest.h>

namespace glyvora {
namespace {

Text pathOf(const Node& node) {
    Text path;
    EXPECT_TRUE(GetTextValue(node, "path", path));
    return path;
}

TEST(Queue, popsCopiesOfThePushedNodesFirstInFirstOut) {
    Queue queue;
    Node node;
    EXPECT_TRUE(QueueIsEmpty(queue));
    ASSERT_TRUE(AddAttr(node, "path", "D:\\字体"));
    EXPECT_TRUE(QueuePush(queue, node));
    ASSERT_TRUE(ModifyAttr(node, "path", "D:\\字体\\宋体"));
    EXPECT_TRUE(QueuePush(queue, node));
    ASSERT_TRUE(ModifyAttr(node, "path", "changed after the push"));
    EXPECT_EQ(queue.size(), 2u);

    Node head;
    EXPECT_TRUE(QueuePop(queue, head));
    EXPECT_EQ(pathOf(head), "D:\\字体");
    EXPECT_TRUE(QueuePop(queue, head));
    EXPECT_EQ(pathOf(head), "D:\\字体\\宋体");
    EXPECT_TRUE(QueueIsEmpty(queue));
    EXPECT_EQ(LastNodeError(), NodeError::None);
}

TEST(Queue, popOnAnEmptyQueueLeavesTheVariableAsItWas) {
    Queue queue;
    Node variable;
    ASSERT_TRUE(AddAttr(variable, "path", "C:\\kept"));
    EXPECT_FALSE(QueuePop(queue, variable));
    EXPECT_EQ(LastNodeError(), NodeError::QueueEmpty);
    EXPECT_TRUE(variable.exists());
    EXPECT_EQ(pathOf(variable), "C:\\kept");
}

TEST(Queue, releaseAndCreateEmptyIt) {
    Queue queue;
    Node node;
    QueuePush(queue, node);
    QueuePush(queue, node);
    QueueRelease(queue);
    EXPECT_TRUE(QueueIsEmpty(queue));
    QueuePush(queue, node);
    QueueCreate(queue);
    EXPECT_TRUE(QueueIsEmpty(queue));
}

TEST(Node, attributesHoldNumbersAsDoublesAndRefuseOtherTypes) {
    Node node;
    EXPECT_TRUE(AddAttr(node, "count", std::int32_t{3}));
    EXPECT_TRUE(AddAttr(node, "byte", Value::byte(7)));
    EXPECT_TRUE(AddAttr(node, "bold", true));
    EXPECT_TRUE(AddAttr(node, "when", DateTime{45000}));
    EXPECT_TRUE(AddAttr(node, "blob", ByteSet{1, 2}));
    ASSERT_NE(node.attribute("count"), nullptr);
    EXPECT_EQ(*node.attribute("count"), Value(3.0));
    EXPECT_EQ(*node.attribute("byte"), Value(7.0));

    EXPECT_FALSE(AddAttr(node, "handler", SubprogramRef{0x401000}));
    EXPECT_EQ(LastNodeError(), NodeError::TypeNotAllowed);
    EXPECT_FALSE(AddAttr(node, "nothing", Value()));
    EXPECT_EQ(LastNodeError(), NodeError::TypeNotAllowed);
    EXPECT_FALSE(ModifyAttr(node, "count", Value()));
    EXPECT_EQ(LastNodeError(), NodeError::TypeNotAllowed);
    EXPECT_EQ(node.attribute("handler"), nullptr);
    EXPECT_EQ(*node.attribute("count"), Value(3.0));
}

TEST(Node, addingANameTwiceKeepsOneAttributeWithTheNewValue) {
    Node node;
    AddAttr(node, "path", "a");
    AddAttr(node, "path", "b");
    EXPECT_EQ(node.attributeCount(), 1u);
    EXPECT_EQ(pathOf(node), "b");
    // Names compare exactly.
    AddAttr(node, "Path", "c");
    EXPECT_EQ(node.attributeCount(), 2u);
    EXPECT_EQ(pathOf(node), "b");
}

TEST(Node, missingNodesNamesAndAttributesAreError200) {
    Node node;
    Text variable = "untouched";
    EXPECT_FALSE(AddAttr(node, "", "x"));
    EXPECT_EQ(LastNodeError(), NodeError::MissingNodeOrName);
    EXPECT_FALSE(ModifyAttr(node, "path", "x"));
    EXPECT_EQ(LastNodeError(), NodeError::MissingNodeOrName);
    EXPECT_FALSE(GetTextValue(node, "path", variable));
    EXPECT_EQ(LastNodeError(), NodeError::MissingNodeOrName);

    AddAttr(node, "count", 2.0);
    EXPECT_FALSE(GetTextValue(node, "count", variable));
    EXPECT_EQ(LastNodeError(), NodeError::TypeNotAllowed);
    EXPECT_EQ(variable, "untouched");

    NodeRelease(node);
    EXPECT_FALSE(node.exists());
    EXPECT_EQ(node.attributeCount(), 0u);
    EXPECT_FALSE(AddAttr(node, "path", "x"));
    EXPECT_EQ(LastNodeError(), NodeError::MissingNodeOrName);
    Queue queue;
    EXPECT_FALSE(QueuePush(queue, node));
    EXPECT_EQ(LastNodeError(), NodeError::MissingNodeOrName);
    EXPECT_TRUE(QueueIsEmpty(queue));

    NodeCreate(node);
    EXPECT_TRUE(AddAttr(node, "path", "x"));
    EXPECT_TRUE(QueuePush(queue, node));
}

TEST(Node, popReplacesAReleasedVariable) {
    Queue queue;
    Node node;
    AddAttr(node, "path", "x");
    QueuePush(queue, node);
    Node variable;
    NodeRelease(variable);
    EXPECT_TRUE(QueuePop(queue, variable));
    EXPECT_TRUE(variable.exists());
    EXPECT_EQ(pathOf(variable), "x");
}

} // namespace
} // namespace glyvora
